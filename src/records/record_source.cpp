#include "records/record_source.h"

#include <algorithm>
#include <cstdint>

#include "position/regular_file.h"
#include "position/text_encoding.h"
#include "records/record_files.h"
#include "records/record_messages.h"

namespace nusari {

namespace {

// Replaces every `from` in `text` by `to`.
void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Appends code point `c` as UTF-8.
void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

// Which UTF-16 the bytes are, if any: a byte-order mark says so, or, without
// one, a NUL in most of the first characters' high bytes (Japanese records
// hold ASCII line ends, digits and marks). 1 little-endian, 2 big-endian, 0
// no UTF-16.
int utf16Kind(std::string_view bytes) {
    if (bytes.starts_with("\xff\xfe")) return 1;
    if (bytes.starts_with("\xfe\xff")) return 2;
    const std::size_t pairs = std::min<std::size_t>(bytes.size() / 2, 256);
    std::size_t evenNuls = 0;
    std::size_t oddNuls = 0;
    for (std::size_t i = 0; i < pairs; ++i) {
        evenNuls += bytes[2 * i] == '\0' ? 1 : 0;
        oddNuls += bytes[2 * i + 1] == '\0' ? 1 : 0;
    }
    if (pairs >= 4 && oddNuls * 3 >= pairs && evenNuls == 0) return 1;
    if (pairs >= 4 && evenNuls * 3 >= pairs && oddNuls == 0) return 2;
    return 0;
}

// UTF-16 text as UTF-8, without its byte-order mark; a broken surrogate
// pair or an odd last byte becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool little) {
    if (bytes.starts_with("\xff\xfe") || bytes.starts_with("\xfe\xff")) {
        bytes.remove_prefix(2);
    }
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<uint32_t>(little ? a | (b << 8) : (a << 8) | b);
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        uint32_t c = unit(i);
        if (c >= 0xd800 && c < 0xdc00 && i + 3 < bytes.size() && unit(i + 2) >= 0xdc00 &&
            unit(i + 2) < 0xe000) {
            c = 0x10000 + ((c - 0xd800) << 10) + (unit(i + 2) - 0xdc00);
            i += 2;
        } else if (c >= 0xd800 && c < 0xe000) {
            c = 0xfffd;
        }
        appendUtf8(out, c);
    }
    if (i < bytes.size()) appendUtf8(out, 0xfffd);
    return out;
}

}  // namespace

RecordFormat recordFormatOf(std::string_view path) {
    const std::string extension = lowerCaseExtension(path);
    if (extension == ".csa") return RecordFormat::Csa;
    if (extension == ".kif" || extension == ".kifu") return RecordFormat::Kif;
    if (extension == ".ki2" || extension == ".ki2u") return RecordFormat::Ki2;
    return RecordFormat::Unknown;
}

bool readRecordFile(const std::string& path, std::string& bytes, std::string& error) {
    FileReadInfo info;
    const FileRead result = readRegularFile(path, kMaxRecordFileBytes, bytes, &info);
    if (result == FileRead::Ok) return true;
    if (result == FileRead::TooLarge) {
        error = kFileTooLargeMessage + path;
    } else {
        error = kReadErrorMessage + fileReadReason(result, info.error) + "：" + path;
    }
    return false;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceAt(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string recordTextAsCp932(std::string_view bytes) {
    if (const int kind = utf16Kind(bytes); kind != 0) {
        std::string utf8 = utf16ToUtf8(bytes, kind == 1);
        replaceAll(utf8, "☗", "▲");
        replaceAll(utf8, "☖", "△");
        return toCp932(utf8);
    }
    constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
    const bool marked = bytes.substr(0, 3) == kByteOrderMark;
    if (marked) bytes.remove_prefix(3);
    bool ascii = true;
    for (const char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii || !isValidUtf8(bytes)) return std::string(bytes);
    std::string utf8(bytes);
    replaceAll(utf8, "☗", "▲");
    replaceAll(utf8, "☖", "△");
    return toCp932(utf8);
}

}  // namespace nusari
