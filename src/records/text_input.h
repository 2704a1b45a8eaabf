// Byte-by-byte reading of a record file, or of bytes in memory, as a text
// file: a CR right before a LF is dropped.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace nusari {

inline constexpr int kEndOfInput = -1;

class TextInput {
  public:
    // Reads the bytes of `text`, which must outlive the reader.
    explicit TextInput(std::string_view text) : data_(text) {}
    // Reads an open file from its current place; the caller closes it.
    explicit TextInput(std::FILE* file) : file_(file) {}

    // The next byte (0..255), or kEndOfInput.
    int get();
    // The byte get() would return, without consuming it.
    int peek();
    // True once reading the file failed (not at its end).
    bool failed() const { return failed_; }

  private:
    // Makes at least `count` unread bytes available unless the input ends.
    void fill(std::size_t count);
    int rawAt(std::size_t offset);

    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::string_view data_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace nusari
