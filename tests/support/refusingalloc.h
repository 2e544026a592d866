#pragma once
// Exhausted memory for tests: a test executable that compiles refusingalloc.cpp gets a
// global allocator that refuses large blocks while a TRefuse is alive.
#include <cstddef>

class TRefuse {
 public:
  // Requests of `bytes` or more fail with std::bad_alloc until destruction.
  explicit TRefuse(std::size_t bytes);
  ~TRefuse();
  TRefuse(const TRefuse&) = delete;
  TRefuse& operator=(const TRefuse&) = delete;
};
