#include "position/setup.h"

#include <gtest/gtest.h>

namespace nusari {
namespace {

struct Census {
    int lower = 0;
    int upper = 0;
    int lowerPawns = 0;
    int upperPawns = 0;
};

Census census(const Position& p) {
    Census c;
    for (int32_t sq = 11; sq <= 99; ++sq) {
        const int32_t v = p[sq];
        if (!isPiece(v)) continue;
        (isLowerPiece(v) ? c.lower : c.upper)++;
        if (v == kLowerPawn) ++c.lowerPawns;
        if (v == kUpperPawn) ++c.upperPawns;
    }
    return c;
}

void expectWallsAndEmptyHands(const Position& p) {
    for (int32_t i = 0; i <= 110; ++i) {
        if (!isSquare(i)) {
            EXPECT_EQ(p[i], kOffBoard) << i;
        }
    }
}

TEST(SetupPosition, EvenGameHasTwentyPiecesEachAndEmptyHands) {
    Position p;
    setupPosition(p, kPresetEven);
    const Census c = census(p);
    EXPECT_EQ(c.lower, 20);
    EXPECT_EQ(c.upper, 20);
    for (int32_t i = 111; i <= 126; ++i) EXPECT_EQ(p[i], 0);
    EXPECT_EQ(p[59], kLowerKing);
    EXPECT_EQ(p[51], kUpperKing);
    EXPECT_EQ(p[82], kUpperRook);
    EXPECT_EQ(p[22], kUpperBishop);
    expectWallsAndEmptyHands(p);
}

TEST(SetupPosition, HandicapsRemoveOnlyTheFirstPlayersPieces) {
    Position p;
    setupPosition(p, kPresetNoRook);
    EXPECT_EQ(p[28], kEmpty);
    EXPECT_EQ(p[82], kUpperRook);
    EXPECT_EQ(p[22], kUpperBishop);
    setupPosition(p, kPresetTwoPieces);
    EXPECT_EQ(p[28], kEmpty);
    EXPECT_EQ(p[88], kEmpty);
    EXPECT_EQ(census(p).upper, 20);
}

TEST(SetupPosition, SidePawnHasEighteenPawnsWithTwoInEachHand) {
    Position p;
    setupPosition(p, kPresetSidePawn);
    const Census c = census(p);
    EXPECT_EQ(c.lowerPawns, 8);
    EXPECT_EQ(c.upperPawns, 6);
    EXPECT_EQ(p[118], 2);
    EXPECT_EQ(p[126], 2);
    EXPECT_EQ(c.lowerPawns + c.upperPawns + p[118] + p[126], 18);
}

TEST(SetupPosition, YaguraMatchesTheDiagram) {
    Position p;
    setupPosition(p, kPresetYagura);
    EXPECT_EQ(p[88], kLowerKing);
    EXPECT_EQ(p[68], kLowerBishop);
    EXPECT_EQ(p[64], kUpperBishop);
    EXPECT_EQ(p[22], kUpperKing);
    EXPECT_EQ(p[36], kLowerPawn);
    EXPECT_EQ(p[34], kUpperPawn);
    EXPECT_EQ(census(p).lower, 20);
    EXPECT_EQ(census(p).upper, 20);
}

TEST(SetupPosition, ShifuAndKingsOnlyPresets) {
    Position p;
    setupPosition(p, kPresetShifu);
    EXPECT_EQ(census(p).lower + census(p).upper, 4);
    EXPECT_EQ(p[99], kLowerKing);
    EXPECT_EQ(p[23], kLowerGold);
    EXPECT_EQ(p[11], kUpperKing);
    EXPECT_EQ(p[87], kUpperGold);
    EXPECT_EQ(p[118], 4);
    EXPECT_EQ(p[126], 4);

    setupPosition(p, kPresetKingsOnly);
    EXPECT_EQ(census(p).lower + census(p).upper, 2);
    EXPECT_EQ(p[58], kLowerKing);
    EXPECT_EQ(p[52], kUpperKing);
    for (const int32_t base : {kLowerHandBase, kUpperHandBase}) {
        EXPECT_EQ(p[base + kRook], 0);
        EXPECT_EQ(p[base + kGold], 2);
        EXPECT_EQ(p[base + kLance], 2);
        EXPECT_EQ(p[base + kPawn], 4);
    }
}

TEST(SetupPosition, NoPawnsAndTaian) {
    Position p;
    setupPosition(p, kPresetNoPawns);
    EXPECT_EQ(census(p).lower, 11);
    EXPECT_EQ(census(p).lowerPawns + census(p).upperPawns, 0);
    setupPosition(p, kPresetTaian);
    EXPECT_EQ(census(p).lower, 18);
    EXPECT_EQ(census(p).upper, 18);
    EXPECT_EQ(p[82], kEmpty);
}

TEST(SetupPosition, OutOfRangeGivesTheEmptyBoard) {
    for (const int32_t preset : {0, 13, 100, -1}) {
        Position p;
        p.cell.fill(7);
        setupPosition(p, preset);
        for (int32_t i = 0; i <= 110; ++i) {
            EXPECT_EQ(p[i], isSquare(i) ? kEmpty : kOffBoard) << preset << " " << i;
        }
        for (int32_t i = 111; i <= 126; ++i) EXPECT_EQ(p[i], 0);
    }
}

}  // namespace
}  // namespace nusari
