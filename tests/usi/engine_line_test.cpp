// What the analysis reads from an engine's info lines.
#include <gtest/gtest.h>

#include "usi/engine_line.h"

namespace nusari {
namespace {

TEST(EngineLine, InfoLinesGiveTheirProgressRankScoreAndBounds) {
    const struct {
        const char* text;
        int depth, seldepth;
        int64_t nodes, nps;
        int hashfull, multipv, score;
        bool mate, lower, upper;
    } cases[] = {
        {"info depth 12 seldepth 20 multipv 2 score cp -35 nodes 99 nps 1234 hashfull 56 pv 7g7f",
         12, 20, 99, 1234, 56, 2, -35, false, false, false},
        {"info depth 3 score cp 120 lowerbound pv 2g2f", 3, -1, -1, -1, -1, 0, 120, false, true, false},
        {"info score cp 80 upperbound", -1, -1, -1, -1, -1, 0, 80, false, false, true},
        {"info score mate 7 pv 2b3c+", -1, -1, -1, -1, -1, 0, kMateScore - 7, true, false, false},
        {"info score mate -4", -1, -1, -1, -1, -1, 0, -kMateScore + 4, true, false, false},
        // Values that are no counts, or too large, are left out or held.
        {"info depth x nodes -5 hashfull 5000 multipv 99999999999", -1, -1, -1, -1, 1000, 1000, 0,
         false, false, false},
        {"info nodes 1333333333333333333 nps 99999999999999999", -1, -1, kMaxEngineCount,
         kMaxEngineCount, -1, 0, 0, false, false, false},
    };
    for (const auto& c : cases) {
        const EngineLine line = parseEngineLine(c.text);
        EXPECT_EQ(line.kind, EngineLine::Kind::Info) << c.text;
        EXPECT_EQ(line.depth, c.depth) << c.text;
        EXPECT_EQ(line.seldepth, c.seldepth) << c.text;
        EXPECT_EQ(line.nodes, c.nodes) << c.text;
        EXPECT_EQ(line.nps, c.nps) << c.text;
        EXPECT_EQ(line.hashfull, c.hashfull) << c.text;
        EXPECT_EQ(line.multipv, c.multipv) << c.text;
        EXPECT_EQ(line.score, c.score) << c.text;
        EXPECT_EQ(line.mate, c.mate) << c.text;
        EXPECT_EQ(line.lowerBound, c.lower) << c.text;
        EXPECT_EQ(line.upperBound, c.upper) << c.text;
    }
}

}  // namespace
}  // namespace nusari
