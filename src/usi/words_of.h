// Splits a line of an engine or an openings file into its words.
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

namespace nusari {

// The words of `line`, separated by blanks, tabs and carriage returns.
inline std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(" \t\r", at);
        if (start == std::string_view::npos) break;
        const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

}  // namespace nusari
