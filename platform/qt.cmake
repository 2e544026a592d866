# Qt platform layer: drawing surfaces, the control base, cursors, system colours
# and the dialog/message/help services.
alearix_add_library(alearix_platform QT
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/qtsurface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recsurface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/graphiccontrol.h
    ${CMAKE_CURRENT_LIST_DIR}/graphiccontrol.cpp
    ${CMAKE_CURRENT_LIST_DIR}/syscolors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cursors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cursors.qrc
    ${CMAKE_CURRENT_LIST_DIR}/services.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fakeservices.cpp
)
