// The results of a match: one line per game as it ends, and the final table
// with wins, losses and draws per engine and colour, the score, the Elo
// difference and the engines' move times.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "game/match_game.h"

namespace nusari {

class MatchTable {
public:
    explicit MatchTable(const std::string names[2]) : names_{names[0], names[1]} {}

    // Counts a game in which engine `blackEngine` was sente.
    void add(int blackEngine, const GameOutcome& game);
    // "game 3: A (sente) - B (gote): 1-0 resignation, 97 plies"
    std::string gameLine(int number, int blackEngine, const GameOutcome& game) const;
    void print(std::FILE* out) const;
    int games() const { return games_; }

private:
    struct Tally {
        int wins[2] = {0, 0};    // as sente, as gote
        int losses[2] = {0, 0};
        int draws[2] = {0, 0};
        std::vector<int64_t> moveMs;
        int late = 0;  // moves over their limit + 10 %
    };
    std::string names_[2];
    Tally tally_[2];
    int games_ = 0;
    int64_t plies_ = 0;
};

}  // namespace nusari
