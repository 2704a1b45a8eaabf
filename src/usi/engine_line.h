// What one line of a USI engine's output says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nusari {

struct EngineLine {
    enum class Kind { Other, IdName, UsiOk, ReadyOk, Info, BestMove, Option };
    Kind kind = Kind::Other;
    std::string word;  // the id name, or the word after "bestmove"
    bool hasScore = false;
    // Centipawns from the engine's side; a mate in n plies is 100000 - n
    // (-100000 + n when the engine is mated).
    int score = 0;
    // The score is a mate ("score mate"), and whether the engine gave it as
    // a bound ("lowerbound": at least, "upperbound": at most).
    bool mate = false;
    bool lowerBound = false;
    bool upperBound = false;
    // From an info line: the depth, selective depth, nodes, nodes per second
    // and hash use in permille (-1 when not given), the line's rank among
    // several ("multipv", 0 when not given) and the principal variation's
    // moves (at most kMaxPvMoves).
    int depth = -1;
    int seldepth = -1;
    int64_t nodes = -1;
    int64_t nps = -1;
    int hashfull = -1;
    int multipv = 0;
    std::vector<std::string> pv;
};

inline constexpr size_t kMaxPvMoves = 64;
// Node counts and rates above this are held at it (a quadrillion).
inline constexpr int64_t kMaxEngineCount = 1'000'000'000'000'000;

inline constexpr int kMateScore = 100000;

// Reads one line; anything that is none of these kinds is Other. Safe on
// any bytes.
EngineLine parseEngineLine(std::string_view line);

}  // namespace nusari
