alearix_add_test(alearix_platform_qt_tests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/qtsurface_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recsurface_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/graphiccontrol_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cursors_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/services_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/helptest.qrc
  LIBS alearix_platform)
