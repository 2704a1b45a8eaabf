#include "position/position.h"

#include <gtest/gtest.h>

#include "board_builder.h"
#include "position/setup.h"

namespace nusari {
namespace {

using test::boardWith;

TEST(ApplyMove, UpperCaptureOfPromotedPieceAddsBaseKindAndUndoRestores) {
    Position p = boardWith({{55, kUpperSilver}, {56, kLowerDragon}});
    const Position before = p;
    const Move m{55, 56};
    const int32_t captured = applyUpperMove(p, m);
    EXPECT_EQ(captured, kLowerDragon);
    EXPECT_EQ(p[56], kUpperSilver);
    EXPECT_EQ(p[55], kEmpty);
    EXPECT_EQ(p[kUpperHandBase + kRook], 1);  // a dragon enters the hand as a rook
    undoUpperMove(p, m, captured);
    EXPECT_EQ(p, before);
}

TEST(ApplyMove, PromotionAddsEightAndUndoRemovesIt) {
    Position p = boardWith({{84, kLowerSilver}, {83, kUpperPawn}});
    const Position before = p;
    const Move m{84, 183};
    const int32_t captured = applyLowerMove(p, m);
    EXPECT_EQ(p[83], kLowerProSilver);
    EXPECT_EQ(p[kLowerHandBase + kPawn], 1);
    undoLowerMove(p, m, captured);
    EXPECT_EQ(p, before);
    EXPECT_EQ(Move({39, 189}).to % 100, 89);
}

TEST(ApplyMove, DropsPlaceTheSideCodeAndTakeFromTheHand) {
    Position p = boardWith({});
    p[118] = 1;
    p[126] = 2;
    applyLowerMove(p, Move{118, 55});
    EXPECT_EQ(p[55], kLowerPawn);
    EXPECT_EQ(p[118], 0);
    const int32_t captured = applyUpperMove(p, Move{126, 45});
    EXPECT_EQ(p[45], kUpperPawn);
    EXPECT_EQ(p[126], 1);
    undoUpperMove(p, Move{126, 45}, captured);
    EXPECT_EQ(p[45], kEmpty);
    EXPECT_EQ(p[126], 2);
}

TEST(FlipPosition, TwiceIsIdentityAndKeepsWalls) {
    for (int32_t preset = 0; preset < kPresetCount; ++preset) {
        Position p;
        setupPosition(p, preset);
        p[113] = 2;
        p[125] = 1;
        const Position q = flipPosition(p);
        EXPECT_EQ(flipPosition(q), p) << preset;
        for (int32_t i = 0; i <= 10; ++i) EXPECT_EQ(q[i], kOffBoard);
        for (int32_t i = 100; i <= 110; ++i) EXPECT_EQ(q[i], kOffBoard);
        for (int32_t i = 20; i <= 90; i += 10) EXPECT_EQ(q[i], kOffBoard);
        EXPECT_EQ(q[121], 2);
        EXPECT_EQ(q[117], 1);
    }
}

TEST(FlipPosition, EvenGameLooksTheSameFromTheOtherSide) {
    Position p;
    setupPosition(p, kPresetEven);
    EXPECT_EQ(flipPosition(p), p);
    Position yagura;
    setupPosition(yagura, kPresetYagura);
    const Position q = flipPosition(yagura);
    EXPECT_EQ(q[88], kLowerKing);  // the upper king on 22 turns to 88
    EXPECT_EQ(q[22], kUpperKing);
}

TEST(FlipPosition, MovesCarryAcrossTheFlip) {
    EXPECT_EQ(flipMove(Move{77, 76}), (Move{33, 34}));
    EXPECT_EQ(flipMove(Move{28, 122}), (Move{82, 188}));  // 310 - 122 = 188
    EXPECT_EQ(flipMove(Move{118, 55}), (Move{126, 55}));
    EXPECT_EQ(flipMove(Move{120, 11}), (Move{112, 99}));
    // A move made in the flipped frame is the same move in the original one.
    Position p;
    setupPosition(p, kPresetEven);
    Position viaFlip = flipPosition(p);
    applyUpperMove(viaFlip, flipMove(Move{77, 76}));
    applyLowerMove(p, Move{77, 76});
    EXPECT_EQ(flipPosition(viaFlip), p);
}

}  // namespace
}  // namespace nusari
