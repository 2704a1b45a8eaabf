// Reading the bytes of an engine-definition file: lines with the loader's
// line rules, free-format number rows, and ParseNumber.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace nusari {

// The number at the start of `text`: one to three decimal digits (0..999);
// -1 when the first byte is no digit or a fourth digit follows. No sign.
int32_t ParseNumber(std::string_view text);

// Like ParseNumber, after an optional '-' or '+' that is applied; `ok` is
// false when no number follows.
int32_t ParseSignedNumber(std::string_view text, bool& ok);

inline constexpr int32_t kMaxLineBytes = 254;

enum class LineResult {
    Line,     // a line was read, more may follow
    LastLine, // a line ended by the end of the file; the file is done after it
    TooLong,  // a 255th byte before the line feed
};

// A file read as text: a carriage return right before a line feed is
// dropped, as a Windows text-mode read does. Bytes are taken one at a time
// from the stream; nothing but the current line is held.
class AikReader {
public:
    // Opens `path`; isOpen() tells whether that worked.
    explicit AikReader(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    // True when reading hit an error (for example the path is a folder).
    bool failed() const;

    // Reads up to the next line feed: leading spaces (byte 32) dropped, at
    // most 254 bytes kept. The line feed is not stored.
    LineResult readLine(std::string& line);

    // One number of a row, scanf style: white space skipped, then at most five
    // characters: an optional sign and at least one digit.
    bool scanNumber(int32_t& value);
    // Consumes `c` if it is the next byte.
    bool accept(int c);
    void skipWhiteSpace();

private:
    static constexpr int kNone = -2;
    int rawGet();
    int get();
    int peek();

    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    int rawPending_ = kNone;  // byte read past a carriage return
    int peeked_ = kNone;      // translated byte looked at but not taken
};

}  // namespace nusari
