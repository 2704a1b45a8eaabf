// The count of a quick match (usimatch, selfplay): one line per game as it
// ends and a summary of wins, faults and move times.
#pragma once

#include <cstdint>

#include "game/match_game.h"

namespace nusari {

class MatchTally {
public:
    // Prints "game N: sente A, A wins, P plies, REASON".
    void add(int game, const GameOutcome& g);
    void printSummary(int games) const;
    // Any illegal move, missing answer or engine gone.
    bool anyIllegal() const { return illegal_ + missing_ > 0; }

private:
    int wins_[2] = {0, 0};
    int draws_ = 0;
    int illegal_ = 0;
    int missing_ = 0;
    int late_ = 0;
    long plies_ = 0;
    int64_t slowest_ = 0;
};

// "mate", "illegal move (7g7f is not legal in …)", "crash (engine A exited
// (status 3))": the ending with its detail.
std::string reasonText(const GameOutcome& g);

// Whether the ending is a fault of the loser's: an illegal or malformed
// move, an invalid declaration, or no answer (a player gone included).
bool isFoul(GameEnding ending);
bool isMissingAnswer(GameEnding ending);

}  // namespace nusari
