#pragma once
// The abbreviated month names of the user's locale, for date labels.
#include <array>
#include <string>

// January first, as UTF-8: "Jan" .. "Dec" in an English setting. Taken from
// the default locale (QLocale), which follows the system's unless the program
// sets another.
std::array<std::string, 12> ShortMonthNames();
