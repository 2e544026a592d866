#include "engine/uniform.h"

namespace {

// The state after the start-up advance from state 0. Computed at compile time, so the
// source holds it before any code of the program runs and no linker can drop the advance.
constexpr std::uint32_t StartupState() {
  std::uint32_t s = 0;
  for (int i = 0; i < 3; ++i) s = UniformNext(s);
  return s;
}

}  // namespace

constinit std::uint32_t UniformSeed = StartupState();

void UniformStartup() {
  for (int i = 0; i < 3; ++i) UniformReal();
}
