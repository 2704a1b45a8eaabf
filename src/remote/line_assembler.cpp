#include "remote/line_assembler.h"

#include <cstring>

namespace nusari {

void LineAssembler::append(std::string_view bytes) {
    while (!bytes.empty()) {
        if (skipping_) {
            // The rest of a dropped line goes without a look at each byte.
            const void* end = std::memchr(bytes.data(), '\n', bytes.size());
            if (end == nullptr) return;
            const auto skipped = static_cast<const char*>(end) - bytes.data();
            bytes.remove_prefix(static_cast<std::size_t>(skipped) + 1);
            skipping_ = false;
            continue;
        }
        const char c = bytes.front();
        bytes.remove_prefix(1);
        if (c == '\0') continue;
        if (c == '\n') {
            partial_ += c;
            lines_.push_back(std::move(partial_));
            partial_.clear();
        } else if (partial_.size() + 1 >= kMaxServerLine) {
            lines_.emplace_back(kLineOverflow);
            partial_.clear();
            skipping_ = true;
        } else {
            partial_ += c;
        }
    }
}

std::optional<std::string> LineAssembler::takeLine() {
    if (lines_.empty()) return std::nullopt;
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

std::size_t LineAssembler::bufferedBytes() const {
    std::size_t bytes = partial_.size();
    for (const std::string& line : lines_) bytes += line.size();
    return bytes;
}

void LineAssembler::clear() {
    partial_.clear();
    lines_.clear();
    skipping_ = false;
}

}  // namespace nusari
