# Main window and application object, on Qt's offscreen platform.
alearix_add_test(alearix_frmdistr_test GUI
  SOURCES frmdistr_test.cpp
  LIBS alearix_app)

# Creates its own application object, so it uses the plain test main.
alearix_add_test(alearix_application_test
  SOURCES application_test.cpp
  LIBS alearix_app)
