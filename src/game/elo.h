// The Elo difference a match result suggests, with its 95 % error margin.
#pragma once

#include <string>

namespace nusari {

struct EloEstimate {
    int games = 0;
    double score = 0.5;  // points per game, a draw half a point
    double elo = 0;      // the logistic Elo difference of that score
    double margin = 0;   // half the 95 % confidence interval; infinite when it is unbounded
};

// From the first player's wins, draws and losses. The error comes from the
// variance of the per-game score. A score of 0 % or 100 % has no finite Elo:
// `elo` is then the bound of one game less lost (or won) and the text says
// "<" or ">".
EloEstimate estimateElo(int wins, int draws, int losses);

// "+35 +/- 120", ">+1033", "-12 +/- inf", or "-" without games.
std::string formatElo(const EloEstimate& e);

}  // namespace nusari
