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

std::string TimeText(unsigned Hour, unsigned Minute, unsigned Second, unsigned Hundredths,
                     unsigned Format) {
  switch (Format) {
    case 0:
      return Zero(Hour) + ':' + Zero(Minute) + ':' + Zero(Second) + '.' + Zero(Hundredths);
    case 1:
      return Zero(Hour) + ':' + Zero(Minute) + ':' + Zero(Second);
    case 2:
      return Space(Hour) + 'h' + Zero(Minute);
    case 3:
      return Space(Hour) + 'h' + Zero(Minute) + '\'' + Zero(Second) + '"';
    case 4:
      return Zero(Hour) + ':' + Zero(Minute);
    case 5: {
      unsigned h = Hour;
      if (h == 0)
        h = 12;
      else if (h >= 13 && h <= 23)
        h -= 12;
      return Space(h) + ':' + Zero(Minute) + (Hour < 12 ? 'a' : 'p');
    }
    default:
      return std::string();
  }
}
