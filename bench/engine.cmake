# Sampler speed against the standard library's piecewise linear distribution.
alearix_add_bench(engine_bench
  SOURCES engine_bench.cpp
  LIBS alearix_engine)
