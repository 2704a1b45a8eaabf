#include "game/elo.h"

#include <gtest/gtest.h>

namespace nusari {
namespace {

// Wins, draws and losses of the first engine, and the printed estimate.
struct EloCase {
    int wins;
    int draws;
    int losses;
    const char* text;
};

TEST(EloTest, ScoreGivesLogisticEloAndMargin) {
    const EloCase cases[] = {
        {10, 0, 10, "+0 +/- 163"},
        {60, 20, 20, "+147 +/- 66"},
        {30, 40, 30, "+0 +/- 53"},
        {20, 20, 60, "-147 +/- 66"},
        {0, 10, 0, "+0 +/- 0"},       // no variance at all
        {3, 0, 1, "+191 +/- inf"},    // the interval reaches 100 %
        {5, 0, 0, ">+382"},           // a sweep: the bound of 4.5 points of 5
        {0, 0, 5, "<-382"},
        {0, 0, 0, "-"},
    };
    for (const EloCase& c : cases) {
        EXPECT_EQ(formatElo(estimateElo(c.wins, c.draws, c.losses)), c.text)
            << c.wins << "-" << c.draws << "-" << c.losses;
    }
}

}  // namespace
}  // namespace nusari
