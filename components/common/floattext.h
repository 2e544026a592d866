#pragma once

#include <string>

// Text form of a real number, right-aligned in a field of Width characters and never cut.
//   Decimals >= 0: fixed form with that many decimals (scientific from a magnitude of 1e36 on);
//   Decimals == -1: squeezed scientific form with a two-digit exponent (asterisks when the
//                   exponent needs more), Width characters for Width >= 8;
//   other negative: scientific form with Width - 8 significant digits (2..18) and a four-digit
//                   exponent.
// Rounding is half up on the exact decimal expansion of X. NaN and the infinities give "Nan",
// "+Inf" and "-Inf".
std::string FloatText(int width, int decimals, double x);
