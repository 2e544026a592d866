#pragma once
// Exact decimal rounding of doubles: the one rounding core of every number text of
// the components (FloatText, the numeric label). A value is rounded half up on its
// exact decimal expansion: 2.25 to one decimal gives 2.3, while 0.15, held as
// 0.1499999..., gives 0.1.
#include <string>

// The digits of a (finite, >= 0) rounded to `decimals` fraction digits: the integer
// digits (at least one, no leading zeros but a single "0") followed by exactly
// `decimals` fraction digits, without a point.
std::string FixedDigits(double a, int decimals);

// The first `count` significant digits of a (finite, >= 0) rounded, and the decimal
// exponent of the first of them (a = d.ddd * 10^exponent). Zero gives `count` zeros
// and exponent 0.
std::string SignificantDigits(double a, int count, int& exponent);
