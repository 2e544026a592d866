# Shapes, export of random numbers and distribution files (no Qt).
if(TARGET alearix_engine AND TARGET alearix_common)
  alearix_add_library(alearix_core
    SOURCES shapes.cpp export.cpp distfile.cpp
    LIBS alearix_engine alearix_common alearix_textio)
endif()
