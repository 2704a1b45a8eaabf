// The text of a record file being written: CP932 lines ending in CR LF.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "position/text_encoding.h"

namespace nusari {

class CrLfText {
  public:
    // Appends CP932 bytes and the line end.
    void line(std::string_view cp932) {
        text_ += cp932;
        text_ += "\r\n";
    }
    // Appends one of the program's own UTF-8 texts as a line.
    void own(std::string_view utf8) { line(toCp932(utf8)); }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

}  // namespace nusari
