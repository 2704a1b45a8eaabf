#include "text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace nusari {

namespace {

// Converts with iconv; on a byte sequence it cannot convert it writes
// `replacement` and skips `skipOnError(rest)` input bytes.
template <typename Skip>
std::string convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement, Skip skipOnError) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    char buffer[256];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL (a sequence cut off at the end): skip it.
            out.append(replacement);
            const size_t skip = std::min(srcLeft, skipOnError(std::string_view(src, srcLeft)));
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

// Length of the UTF-8 sequence that starts `rest` (1 for a stray byte).
size_t utf8SequenceLength(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    size_t length = 1;
    if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    size_t n = 1;
    while (n < length && n < rest.size() && (static_cast<unsigned char>(rest[n]) & 0xC0) == 0x80) {
        ++n;
    }
    return n;
}

}  // namespace

std::string toUtf8(std::string_view cp932) {
    return convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", [](std::string_view) { return size_t{1}; });
}

std::string toCp932(std::string_view utf8) {
    return convert("CP932", "UTF-8", utf8, "?", utf8SequenceLength);
}

std::size_t utf8SequenceAt(std::string_view text, std::size_t at) {
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

}  // namespace nusari
