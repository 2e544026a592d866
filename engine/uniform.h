#pragma once

#include <cstdint>

// The process-wide uniform source: a 32-bit linear congruential generator
//   state := state * 134775813 + 1 (mod 2^32).
// It starts three steps after state 0 (the start-up advance happens before main).
extern std::uint32_t UniformSeed;

inline constexpr std::uint32_t kUniformMultiplier = 134775813u;

// One step of the recurrence.
inline constexpr std::uint32_t UniformNext(std::uint32_t s) {
  return s * kUniformMultiplier + 1u;
}

// One step, then an integer in [0, n): the upper half of the 64-bit product n * state.
inline std::uint32_t UniformInt(std::uint32_t n) {
  UniformSeed = UniformNext(UniformSeed);
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * UniformSeed) >> 32);
}

// One step, then state / 2^32: a real in [0, 1).
inline double UniformReal() {
  UniformSeed = UniformNext(UniformSeed);
  return static_cast<double>(UniformSeed) * (1.0 / 4294967296.0);
}

// The start-up advance: three draws whose values are not used.
void UniformStartup();
