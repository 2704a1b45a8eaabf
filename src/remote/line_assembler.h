// Collects the bytes a game server sends into lines: a line ends with its
// line feed and holds at most 256 bytes. A longer run without a line feed
// becomes the line "Buff Over Err." and the rest starts a new line. Zero
// bytes (sent by servers that end each line with one) are dropped.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace nusari {

inline constexpr std::size_t kMaxServerLine = 256;
inline constexpr const char* kLineOverflow = "Buff Over Err.";

class LineAssembler {
  public:
    void append(std::string_view bytes);
    // The oldest whole line (with its line feed), or nothing yet.
    std::optional<std::string> takeLine();
    void clear();

  private:
    std::string partial_;
    std::deque<std::string> lines_;
};

}  // namespace nusari
