# Main window and the desktop program.
alearix_add_library(alearix_app QT
  SOURCES application.h application.cpp
          districhart.h districhart.cpp
          frmdistr.h frmdistr.cpp
          glyphs.h glyphs.cpp
  LIBS alearix_core alearix_chart alearix_numlab alearix_about alearix_platform)

add_executable(alearix main.cpp)
target_link_libraries(alearix PRIVATE alearix_app)
alearix_target_options(alearix)

# "cmake --install" gives the program, a menu entry and its icon.
include(GNUInstallDirs)
install(TARGETS alearix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES alearix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/alearix.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
