// What one line of a USI engine's output says, for the match runner.
#pragma once

#include <string>
#include <string_view>

namespace nusari {

struct EngineLine {
    enum class Kind { Other, IdName, UsiOk, ReadyOk, Info, BestMove };
    Kind kind = Kind::Other;
    std::string word;  // the id name, or the word after "bestmove"
    bool hasScore = false;
    // Centipawns from the engine's side; a mate in n plies is 100000 - n
    // (-100000 + n when the engine is mated).
    int score = 0;
};

inline constexpr int kMateScore = 100000;

// Reads one line; anything that is none of these kinds is Other. Safe on
// any bytes.
EngineLine parseEngineLine(std::string_view line);

}  // namespace nusari
