// Getting a record file's text: which grammar its name asks for, its bytes
// (regular files only, of a sane size) and their text as CP932.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nusari {

enum class RecordFormat { Unknown, Csa, Kif, Ki2 };

// By the extension, in any case: .csa; .kif and .kifu; .ki2 and .ki2u.
RecordFormat recordFormatOf(std::string_view path);

// No game record comes near this; anything larger is refused unread.
inline constexpr std::size_t kMaxRecordFileBytes = 16u << 20;

// Reads the whole file at `path` into `bytes`. A FIFO, a device or a folder
// is refused at once, without waiting on it. False with the message (UTF-8,
// the reason and then the file) in `error`.
bool readRecordFile(const std::string& path, std::string& bytes, std::string& error);

// True when `bytes` are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// The record's text as CP932: a UTF-8 byte-order mark is dropped, and a text
// that is valid UTF-8 and not plain ASCII is converted (☗ and ☖, which
// CP932 lacks, become ▲ and △), and so is UTF-16 (with a byte-order mark,
// or recognised from its NUL bytes). Anything else is taken as CP932 already.
std::string recordTextAsCp932(std::string_view bytes);

}  // namespace nusari
