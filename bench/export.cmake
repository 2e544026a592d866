# Export of random numbers: the real export against a snprintf("%.4f") loop.
if(TARGET alearix_core)
  alearix_add_bench(alearix_export_bench SOURCES export_bench.cpp LIBS alearix_core)
endif()
