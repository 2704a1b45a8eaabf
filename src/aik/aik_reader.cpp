#include "aik_reader.h"

#include <algorithm>
#include <utility>

namespace nusari {

namespace {

constexpr bool isDigit(int c) { return c >= '0' && c <= '9'; }
// White space as the C library's scanf skips it.
constexpr bool isWhiteSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int32_t ParseNumber(std::string_view text) {
    int32_t value = 0;
    std::size_t i = 0;
    for (; i < text.size() && i < 3 && isDigit(text[i]); ++i) value = 10 * value + (text[i] - '0');
    if (i == 0) return -1;
    if (i == 3 && text.size() > 3 && isDigit(text[3])) return -1;
    return value;
}

int32_t ParseSignedNumber(std::string_view text, bool& ok) {
    int32_t sign = 1;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        if (text[0] == '-') sign = -1;
        text.remove_prefix(1);
    }
    const int32_t n = ParseNumber(text);
    ok = n >= 0;
    return ok ? sign * n : 0;
}

AikReader::AikReader(const std::string& path)
    : opened_(readRegularFile(path, kMaxAikFileBytes, bytes_, &openInfo_)) {}

AikReader::AikReader(FromBytes, std::string bytes)
    : bytes_(std::move(bytes)),
      opened_(bytes_.size() <= kMaxAikFileBytes ? FileRead::Ok : FileRead::TooLarge) {
    if (opened_ != FileRead::Ok) bytes_.clear();
}

std::size_t AikReader::position() const {
    if (peeked_ != kNone) return peekedAt_;
    // A byte read past a carriage return is not taken yet (the end of the
    // file was never counted).
    return rawPending_ != kNone && rawPending_ != EOF ? next_ - 1 : next_;
}

int AikReader::rawGet() {
    if (rawPending_ != kNone) {
        const int c = rawPending_;
        rawPending_ = kNone;
        return c;
    }
    if (next_ >= bytes_.size()) return EOF;
    return static_cast<unsigned char>(bytes_[next_++]);
}

int AikReader::get() {
    if (peeked_ != kNone) {
        const int c = peeked_;
        peeked_ = kNone;
        return c;
    }
    const int c = rawGet();
    if (c == '\r') {
        const int next = rawGet();
        if (next == '\n') return '\n';
        rawPending_ = next;
    }
    return c;
}

int AikReader::peek() {
    if (peeked_ == kNone) {
        peekedAt_ = position();
        peeked_ = get();
    }
    return peeked_;
}

int32_t AikReader::lineNumber() const {
    const std::size_t end = std::min(lineStart_, bytes_.size());
    const auto last = bytes_.begin() + static_cast<std::ptrdiff_t>(end);
    return 1 + static_cast<int32_t>(std::count(bytes_.begin(), last, '\n'));
}

LineResult AikReader::readLine(std::string& line) {
    line.clear();
    while (peek() == ' ') get();
    lineStart_ = position();
    for (;;) {
        const int c = get();
        if (c == EOF) return LineResult::LastLine;
        if (c == '\n') return LineResult::Line;
        if (static_cast<int32_t>(line.size()) == kMaxLineBytes) return LineResult::TooLong;
        line.push_back(static_cast<char>(c));
    }
}

void AikReader::skipWhiteSpace() {
    while (isWhiteSpace(peek())) get();
}

bool AikReader::accept(int c) {
    if (peek() != c) return false;
    get();
    return true;
}

bool AikReader::scanNumber(int32_t& value) {
    skipWhiteSpace();
    int width = 0;
    int32_t sign = 1;
    if (peek() == '-' || peek() == '+') {
        if (get() == '-') sign = -1;
        ++width;
    }
    int digits = 0;
    int32_t n = 0;
    while (width < 5 && isDigit(peek())) {
        n = 10 * n + (get() - '0');
        ++width;
        ++digits;
    }
    if (digits == 0) return false;
    value = sign * n;
    return true;
}

}  // namespace nusari
