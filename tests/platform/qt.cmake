alearix_add_test(alearix_platform_qt_tests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/qtsurface_test.cpp
  LIBS alearix_platform)
