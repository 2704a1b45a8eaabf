#include "match_text.h"

#include <cstdint>

namespace nusari::tool {

namespace {

// The length of the well-formed UTF-8 sequence of two or more bytes at
// `at`, or 0 (no overlong forms, no surrogates, nothing above U+10FFFF).
std::size_t sequenceAt(std::string_view text, std::size_t at) {
    const auto c = static_cast<unsigned char>(text[at]);
    std::size_t extra = 0;
    uint32_t code = 0;
    if (c >= 0xc2 && c <= 0xdf) {
        extra = 1;
        code = c & 0x1f;
    } else if (c >= 0xe0 && c <= 0xef) {
        extra = 2;
        code = c & 0x0f;
    } else if (c >= 0xf0 && c <= 0xf4) {
        extra = 3;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (at + extra >= text.size()) return 0;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto t = static_cast<unsigned char>(text[at + k]);
        if ((t & 0xc0) != 0x80) return 0;
        code = (code << 6) | (t & 0x3f);
    }
    const uint32_t smallest = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (code < smallest || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
    return extra + 1;
}

}  // namespace

std::string engineText(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
            ++i;
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t n = c >= 0x80 ? sequenceAt(text, i) : 0; n > 0) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
            ++i;
        }
    }
    return out;
}

}  // namespace nusari::tool
