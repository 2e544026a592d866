# Shapes, export of random numbers and distribution files.
if(TARGET alearix_core)
  alearix_add_test(alearix_core_test
    SOURCES shapes_test.cpp export_test.cpp distfile_test.cpp
    LIBS alearix_core)
endif()
