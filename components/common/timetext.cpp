#include "components/common/timetext.h"

#include <charconv>

namespace {

// The number right-aligned in two characters; three or more digits are kept whole.
std::string Field(unsigned v, char pad) {
  char buf[16];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, res.ptr);
  if (s.size() < 2) s.insert(s.begin(), pad);
  return s;
}

std::string Zero(unsigned v) {
  return Field(v, '0');
}
std::string Space(unsigned v) {
  return Field(v, ' ');
}

}  // namespace

std::string TimeText(unsigned hour, unsigned minute, unsigned second, unsigned hundredths,
                     unsigned format) {
  switch (format) {
    case 0:
      return Zero(hour) + ':' + Zero(minute) + ':' + Zero(second) + '.' + Zero(hundredths);
    case 1:
      return Zero(hour) + ':' + Zero(minute) + ':' + Zero(second);
    case 2:
      return Space(hour) + 'h' + Zero(minute);
    case 3:
      return Space(hour) + 'h' + Zero(minute) + '\'' + Zero(second) + '"';
    case 4:
      return Zero(hour) + ':' + Zero(minute);
    case 5: {
      unsigned h = hour;
      if (h == 0)
        h = 12;
      else if (h >= 13 && h <= 23)
        h -= 12;
      return Space(h) + ':' + Zero(minute) + (hour < 12 ? 'a' : 'p');
    }
    default:
      return std::string();
  }
}
