#pragma once

#include <string>

// Time of day as text. Format: 0 hh:mm:ss.cc, 1 hh:mm:ss, 2 "h" form (9h05), 3 9h05'07",
// 4 hh:mm, 5 12-hour clock ( 9:05a); any other format gives empty text.
std::string TimeText(unsigned hour, unsigned minute, unsigned second, unsigned hundredths,
                     unsigned format);
