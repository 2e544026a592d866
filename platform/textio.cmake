# Run-time text files (no Qt).
alearix_add_library(alearix_textio SOURCES textfile.cpp)
