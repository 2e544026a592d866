# Run-time text files.
alearix_add_test(alearix_textio_test SOURCES textfile_test.cpp LIBS alearix_textio)
