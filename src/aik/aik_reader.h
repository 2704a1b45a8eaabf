// Reading the bytes of an engine-definition file: lines with the loader's
// line rules, free-format number rows, and ParseNumber.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "aik/aik_number.h"
#include "position/regular_file.h"

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

// No engine file comes near this; anything larger is refused unread.
inline constexpr std::size_t kMaxAikFileBytes = 16u << 20;

// A file read as text: a carriage return right before a line feed is
// dropped, as a Windows text-mode read does. The file is read whole when it
// is opened: regular files only (a FIFO or a device is refused at once), of
// at most kMaxAikFileBytes.
class AikReader {
public:
    // Reads `path`; isOpen() tells whether that worked, openResult() why not.
    explicit AikReader(const std::string& path);
    // Reads bytes already in memory (at most kMaxAikFileBytes).
    struct FromBytes {};
    AikReader(FromBytes, std::string bytes);
    bool isOpen() const { return opened_ == FileRead::Ok; }
    FileRead openResult() const { return opened_; }
    // The errno behind a failed open (see FileReadInfo).
    int openError() const { return openInfo_.error; }
    // True when the file could not be read.
    bool failed() const { return !isOpen(); }

    // Reads up to the next line feed: leading spaces (byte 32) dropped, at
    // most 254 bytes kept. The line feed is not stored.
    LineResult readLine(std::string& line);

    // One number of a row, scanf style: white space skipped, then at most five
    // characters: an optional sign and at least one digit.
    bool scanNumber(int32_t& value);
    // Consumes `c` if it is the next byte.
    bool accept(int c);
    void skipWhiteSpace();

    // The file offset of the next byte not yet taken.
    std::size_t position() const;
    // The file offset of the first byte kept by the last readLine.
    std::size_t lineStart() const { return lineStart_; }
    // The number (from 1) of the line that holds lineStart().
    int32_t lineNumber() const;

    // Where the numbers read are reported; none by default.
    void setNumberSink(AikNumberSink* sink) { sink_ = sink; }
    // Reports `n` to the sink, if there is one.
    void report(const AikNumber& n) const {
        if (sink_ != nullptr) sink_->number(n);
    }
    bool reporting() const { return sink_ != nullptr; }

private:
    static constexpr int kNone = -2;
    int rawGet();
    int get();
    int peek();

    // The whole file and what its reading found (declared first: opened_ is
    // set by reading it).
    std::string bytes_;
    FileReadInfo openInfo_;
    FileRead opened_;
    std::size_t next_ = 0;  // the first byte not yet taken
    int rawPending_ = kNone;  // byte read past a carriage return
    int peeked_ = kNone;      // translated byte looked at but not taken
    std::size_t peekedAt_ = 0;  // the file offset of the peeked byte
    std::size_t lineStart_ = 0;
    AikNumberSink* sink_ = nullptr;
};

}  // namespace nusari
