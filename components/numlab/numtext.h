#pragma once
// Number texts of the numeric label, kept apart from the drawing so they can be
// checked on their own.
#include <optional>
#include <string>
#include <string_view>

// Number formats of the numeric label.
enum class TDisplay { dtFloat, dtFixP, dtExp, dtHex, dtZeroInt, dtInt };

// The text of Value in the given format. Precision is the label's digit count
// (0..15). Returns nothing when the value cannot be shown in that format: an
// integer format outside the signed 32-bit range, or a value that is not finite.
// The caller then shows its overflow text.
std::optional<std::string> NumLabText(TDisplay type, int precision, double value,
                                      std::string_view decimalSeparator = ".");
