#include "game/openings_file.h"

#include <gtest/gtest.h>

#include "position/sfen.h"

namespace nusari {
namespace {

TEST(OpeningsFileTest, ReadsPositionsAndMovesSkippingComments) {
    std::vector<std::string> errors;
    const std::vector<Opening> openings = parseOpenings(
        "# start positions\n"
        "\n"
        "startpos\n"
        "position startpos moves 7g7f 3c3d\r\n"
        "   sfen lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1 moves 8c8d\n"
        "4k4/9/9/9/9/9/9/9/4K4 b 2P 1",
        errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(openings.size(), 4u);
    EXPECT_EQ(openings[0].line, 3);
    EXPECT_TRUE(openings[0].evenStart);
    EXPECT_TRUE(openings[0].moves.empty());
    EXPECT_EQ(openings[1].moves.size(), 2u);
    EXPECT_FALSE(openings[2].evenStart);
    EXPECT_EQ(openings[2].toMove, Side::Upper);
    EXPECT_EQ(moveToUsi(openings[2].moves[0], Side::Upper), "8c8d");
    EXPECT_EQ(openings[3].line, 6);
    EXPECT_EQ(openings[3].start[kLowerHandBase + kPawn], 2);
}

TEST(OpeningsFileTest, ReportsEveryBadLineWithItsNumber) {
    std::vector<std::string> errors;
    const std::vector<Opening> openings = parseOpenings(
        "startpos moves 7g7f\n"
        "startpos moves 7g7f 7g7f\n"
        "startpos moves 7g7x\n"
        "startpos moves\n"
        "startpos 7g7f\n"
        "lnsgkgsnl/9 b - 1\n"
        "moves 7g7f\n"
        "4k4/9/9/9/9/9/9/9/9 b - 1\n"
        "4k4/9/9/9/9/9/9/4R4/4K4 b - 1\n"
        "4k4/4G4/4G4/9/9/9/9/9/4K4 w - 1\n"
        "\xff\xfe\x01\n",
        errors);
    EXPECT_EQ(openings.size(), 1u);
    const std::vector<std::string> expected = {
        "line 2: move 2 is not legal",
        "line 3: move 1 is no USI move",
        "line 4: no moves after \"moves\"",
        "line 5: words after startpos",
        "line 6: bad SFEN: ",
        "line 7: no position",
        "line 8: each side needs one king",
        "line 9: the side not to move is in check",
        "line 10: the side to move has no legal move",
        "line 11: bad SFEN: ",
    };
    ASSERT_EQ(errors.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(errors[i].rfind(expected[i], 0), 0u) << errors[i];
    }
}

}  // namespace
}  // namespace nusari
