#include "tests/support/refusingalloc.h"

#include <cstdlib>
#include <new>

namespace {
std::size_t RefusedFrom = 0;  // requests of this many bytes or more fail; 0: all are served
}  // namespace

TRefuse::TRefuse(std::size_t bytes) {
  RefusedFrom = bytes;
}

TRefuse::~TRefuse() {
  RefusedFrom = 0;
}

void* operator new(std::size_t n) {
  if (RefusedFrom != 0 && n >= RefusedFrom) throw std::bad_alloc();
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
