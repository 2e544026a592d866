# Chart painting: our surface layer against QPainter drawing the same picture.
alearix_add_bench(alearix_chart_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_bench.cpp
  LIBS alearix_chart)
