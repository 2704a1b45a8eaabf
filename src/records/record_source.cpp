#include "records/record_source.h"

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

}  // namespace

RecordFormat recordFormatOf(std::string_view path) {
    const std::string extension = lowerCaseExtension(path);
    if (extension == ".csa") return RecordFormat::Csa;
    if (extension == ".kif" || extension == ".kifu") return RecordFormat::Kif;
    if (extension == ".ki2" || extension == ".ki2u") return RecordFormat::Ki2;
    return RecordFormat::Unknown;
}

bool readRecordFile(const std::string& path, std::string& bytes, std::string& error) {
    switch (readRegularFile(path, kMaxRecordFileBytes, bytes)) {
        case FileRead::Ok: return true;
        case FileRead::NotRegular: error = kNotRegularFileMessage + path; break;
        case FileRead::TooLarge: error = kFileTooLargeMessage + path; break;
        case FileRead::CannotOpen:
        case FileRead::ReadFailed: error = kReadErrorMessage + path; break;
    }
    return false;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xc2 && c <= 0xdf) {
            extra = 1;
            code = c & 0x1f;
        } else if (c >= 0xe0 && c <= 0xef) {
            extra = 2;
            code = c & 0x0f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + k]);
            if ((t & 0xc0) != 0x80) return false;
            code = (code << 6) | (t & 0x3f);
        }
        const uint32_t smallest = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (code < smallest || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return false;
        i += extra + 1;
    }
    return true;
}

std::string recordTextAsCp932(std::string_view bytes) {
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
