# About dialog (start-up disclaimer) and the help contents as Qt resources.
alearix_add_library(alearix_about QT
  SOURCES about.h about.cpp help/help.qrc)
