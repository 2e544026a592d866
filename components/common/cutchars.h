#pragma once
// Length limits of texts count characters, not bytes.
#include <cstddef>
#include <string>
#include <string_view>

// The first n characters (Unicode code points) of a UTF-8 text; never splits a
// character.
std::string CutChars(std::string_view s, std::size_t n);
