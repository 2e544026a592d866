alearix_add_test(alearix_about_tests GUI
  SOURCES about_test.cpp
  LIBS alearix_about)
