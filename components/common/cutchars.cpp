#include "components/common/cutchars.h"

std::string CutChars(std::string_view s, std::size_t n) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if ((c & 0xC0) != 0x80) {  // a lead byte starts a new character
      if (chars == n) return std::string(s.substr(0, i));
      ++chars;
    }
  }
  return std::string(s);
}
