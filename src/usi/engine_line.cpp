#include "usi/engine_line.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <vector>

#include "usi/words_of.h"

namespace nusari {

namespace {

constexpr size_t kMaxNameBytes = 200;

// A whole decimal number that fits an int after an optional sign.
bool readInt(std::string_view word, int& value) {
    if (!word.empty() && word[0] == '+') word.remove_prefix(1);
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

// "score cp N" or "score mate [+-]N" ("mate +" or "mate -" without plies).
void readScore(const std::vector<std::string_view>& words, EngineLine& line) {
    for (size_t i = 0; i + 2 < words.size(); ++i) {
        if (words[i] != "score") continue;
        int value = 0;
        if (words[i + 1] == "cp" && readInt(words[i + 2], value)) {
            line.hasScore = true;
            line.score = std::clamp(value, -kMateScore + 1000, kMateScore - 1000);
        } else if (words[i + 1] == "mate") {
            const std::string_view plies = words[i + 2];
            const bool losing = plies[0] == '-';
            if (plies == "+" || plies == "-") {
                value = 0;
            } else if (!readInt(plies, value)) {
                return;
            }
            value = std::abs(std::clamp(value, -999, 999));
            line.hasScore = true;
            line.mate = true;
            line.score = losing ? -kMateScore + value : kMateScore - value;
        }
        if (i + 3 < words.size()) {
            line.lowerBound = words[i + 3] == "lowerbound";
            line.upperBound = words[i + 3] == "upperbound";
        }
        return;
    }
}

// A whole decimal number that fits an int64_t and is not negative.
bool readCount(std::string_view word, int64_t& value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() && value >= 0;
}

// "depth N", "seldepth N", "nodes N", "nps N", "hashfull N", "multipv N"
// and "pv MOVE..." (the pv runs to the end of the line).
void readInfo(const std::vector<std::string_view>& words, EngineLine& line) {
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "pv") {
            for (size_t k = i + 1; k < words.size() && line.pv.size() < kMaxPvMoves; ++k) {
                line.pv.emplace_back(words[k].substr(0, 16));
            }
            return;
        }
        if (words[i] == "string") return;
        if (i + 1 >= words.size()) return;
        const std::string_view key = words[i];
        int64_t value = 0;
        if (!readCount(words[i + 1], value)) continue;
        const int small = static_cast<int>(std::min<int64_t>(value, 1 << 30));
        // Counts are held far below int64_t's end, so rates made from them
        // (nodes * 1000 / ms) cannot overflow.
        const int64_t count = std::min<int64_t>(value, kMaxEngineCount);
        if (key == "depth") {
            line.depth = small;
        } else if (key == "seldepth") {
            line.seldepth = small;
        } else if (key == "nodes") {
            line.nodes = count;
        } else if (key == "nps") {
            line.nps = count;
        } else if (key == "hashfull") {
            line.hashfull = std::min(small, 1000);
        } else if (key == "multipv") {
            line.multipv = std::min(small, 1000);
        }
    }
}

}  // namespace

EngineLine parseEngineLine(std::string_view text) {
    EngineLine line;
    const std::vector<std::string_view> words = wordsOf(text);
    if (words.empty()) return line;
    if (words[0] == "usiok") {
        line.kind = EngineLine::Kind::UsiOk;
    } else if (words[0] == "readyok") {
        line.kind = EngineLine::Kind::ReadyOk;
    } else if (words[0] == "bestmove") {
        line.kind = EngineLine::Kind::BestMove;
        if (words.size() > 1) line.word = std::string(words[1].substr(0, kMaxNameBytes));
    } else if (words[0] == "info") {
        line.kind = EngineLine::Kind::Info;
        readScore(words, line);
        readInfo(words, line);
    } else if (words[0] == "option") {
        line.kind = EngineLine::Kind::Option;
    } else if (words[0] == "id" && words.size() > 2 && words[1] == "name") {
        line.kind = EngineLine::Kind::IdName;
        const size_t start = text.find_first_not_of(" \t\r", text.find("name") + 4);
        std::string_view name = text.substr(std::min(start, text.size()));
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\r')) {
            name.remove_suffix(1);
        }
        line.word = std::string(name.substr(0, kMaxNameBytes));
    }
    return line;
}

}  // namespace nusari
