#pragma once
// Number texts read by the program: the tokens of its text files, the options of
// alearix-gen, the range edit boxes and the table editor's cells share one grammar:
//
//   [blanks] [+|-] digits [. digits] [(E|e) [+|-] digits]
//
// with the differences as options. A value that overflows a double is refused,
// however many digits it is written with; one too small for a double reads as zero.
// The fifteen-digit form of the largest double (1.79769313486232E+308, which the
// ".rnd" writer produces for it) and anything up to it reads as the largest double,
// so that every file the program writes reads back.
#include <cstdint>
#include <optional>
#include <string_view>

struct TNumberSyntax {
  // Blanks (spaces) before the number are skipped.
  bool LeadingBlanks = false;
  // The digits before the point and after it may be missing (".5", "5.e3"), as long
  // as the mantissa has at least one digit and the point is not the last character.
  bool OptionalDigitsAroundPoint = false;
};

// The range edit boxes: leading blanks, digits before and after a point.
inline constexpr TNumberSyntax kRangeSyntax{true, false};
// The table editor's cells: leading blanks, ".5" and "5.e3".
inline constexpr TNumberSyntax kCellSyntax{true, true};

// The whole text as a real number, or nothing.
std::optional<double> ParseReal(std::string_view text, TNumberSyntax syntax = {});

// An integer token: an optional sign and decimal digits, or "$" and hexadecimal
// digits; it must fit a signed 32-bit integer.
bool TextToInt(std::string_view token, std::int32_t& value);
// A real token in the plain syntax (no blanks, digits around the point).
bool TextToReal(std::string_view token, double& value);
