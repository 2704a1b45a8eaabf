// Collects the bytes a game server sends into lines: a line ends with its
// line feed. A line of more than kMaxServerLine bytes with its line feed
// (real CSA lines are a few dozen) is not kept: it becomes the one line kLineOverflow and its
// bytes are dropped up to its line feed, so memory stays bounded whatever
// the server sends. Zero bytes (sent by servers that end each line with
// one) are dropped.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace nusari {

inline constexpr std::size_t kMaxServerLine = 4096;
inline constexpr const char* kLineOverflow = "Buff Over Err.";

class LineAssembler {
  public:
    void append(std::string_view bytes);
    // The oldest whole line (with its line feed), or nothing yet.
    std::optional<std::string> takeLine();
    std::size_t waitingLines() const { return lines_.size(); }
    // The bytes held, whole lines and the line begun.
    std::size_t bufferedBytes() const;
    void clear();

  private:
    std::string partial_;
    std::deque<std::string> lines_;
    // The bytes up to the next line feed belong to a line already dropped.
    bool skipping_ = false;
};

}  // namespace nusari
