// Conversion between the CP932 (Shift-JIS) bytes of every file format and
// the UTF-8 texts of the program. Used at the boundary only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nusari {

// Bytes that are no CP932 character become U+FFFD.
std::string toUtf8(std::string_view cp932);
// Characters that CP932 cannot hold become '?'; malformed UTF-8 too.
std::string toCp932(std::string_view utf8);

// The length of the well-formed UTF-8 sequence of two or more bytes at
// `at`, or 0 (no overlong forms, no surrogates, nothing above U+10FFFF).
std::size_t utf8SequenceAt(std::string_view text, std::size_t at);

}  // namespace nusari
