# --png renders the main window's chart: needs the chart and the window's chart code.
set(ALEARIX_GEN_PNG_SOURCES pngout.cpp)
set(ALEARIX_GEN_PNG_LIBS alearix_app)
