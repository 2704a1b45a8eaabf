#include "remote/line_assembler.h"

namespace nusari {

void LineAssembler::append(std::string_view bytes) {
    for (const char c : bytes) {
        if (c == '\0') continue;
        partial_ += c;
        if (c == '\n') {
            lines_.push_back(std::move(partial_));
            partial_.clear();
        } else if (partial_.size() >= kMaxServerLine) {
            lines_.emplace_back(kLineOverflow);
            partial_.clear();
        }
    }
}

std::optional<std::string> LineAssembler::takeLine() {
    if (lines_.empty()) return std::nullopt;
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

void LineAssembler::clear() {
    partial_.clear();
    lines_.clear();
}

}  // namespace nusari
