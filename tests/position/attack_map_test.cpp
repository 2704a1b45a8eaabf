#include "position/attack_map.h"

#include <gtest/gtest.h>

#include "board_builder.h"
#include "position/position.h"

namespace nusari {
namespace {

using test::boardWith;

AttackMap mapOf(const Position& p) {
    AttackMap m;
    buildAttackMap(p, m);
    return m;
}

TEST(AttackMap, EvenGameStart) {
    Position p;
    setupPosition(p, kPresetEven);
    const AttackMap m = mapOf(p);
    EXPECT_EQ(m.lowerCount[27], 1);
    EXPECT_EQ(m.lowerCount[26], 2);
    EXPECT_EQ(m.lowerCount[57], 0);
    EXPECT_EQ(m.lowerCount[58], 4);
    EXPECT_EQ(m.upperCount[24], 1);
    EXPECT_EQ(m.lowerKing, 59);
    EXPECT_EQ(m.upperKing, 51);
    EXPECT_EQ(m.pieceCount, 40);
    const int32_t firstSquares[] = {11, 13, 17, 19, 21};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(m.pieceSquares[i], firstSquares[i]);
    EXPECT_EQ(m.pieceSquares[39], 99);
}

TEST(AttackMap, EvenGameIsSymmetric) {
    Position p;
    setupPosition(p, kPresetEven);
    const AttackMap m = mapOf(p);
    for (int32_t sq = 0; sq <= 110; ++sq) EXPECT_EQ(m.lowerCount[sq], m.upperCount[110 - sq]) << sq;
}

TEST(AttackMap, LanceBehindPawnCountsTwiceInFrontOfThePawn) {
    const AttackMap m = mapOf(boardWith({{19, kLowerLance}, {18, kLowerPawn}}));
    EXPECT_EQ(m.lowerCount[18], 1);
    EXPECT_EQ(m.lowerCount[17], 2);
    EXPECT_EQ(m.lowerCount[16], 0);
}

TEST(AttackMap, RookExtendsThroughSteppingPiecesByOneSquare) {
    AttackMap m = mapOf(boardWith({{28, kLowerRook}, {27, kLowerGold}}));
    EXPECT_EQ(m.lowerCount[27], 1);
    EXPECT_EQ(m.lowerCount[26], 2);
    EXPECT_EQ(m.lowerCount[25], 0);
    m = mapOf(boardWith({{28, kLowerRook}, {27, kLowerSilver}}));
    EXPECT_EQ(m.lowerCount[26], 2);
    // Sideways, a silver does not step, so it ends the ray.
    m = mapOf(boardWith({{28, kLowerRook}, {38, kLowerSilver}}));
    EXPECT_EQ(m.lowerCount[38], 1);
    EXPECT_EQ(m.lowerCount[48], 0);
    // Sideways, a gold does step.
    m = mapOf(boardWith({{28, kLowerRook}, {38, kLowerGold}}));
    EXPECT_EQ(m.lowerCount[48], 2);
    EXPECT_EQ(m.lowerCount[58], 0);
}

TEST(AttackMap, RaysPassThroughTheEnemyKingAndSlidingFriends) {
    AttackMap m = mapOf(boardWith({{28, kLowerRook}, {24, kUpperKing}}));
    EXPECT_EQ(m.lowerCount[24], 1);
    EXPECT_EQ(m.lowerCount[23], 1);
    EXPECT_EQ(m.upperKing, 24);
    // Doubled rooks: the rear rook's ray passes through the front one.
    m = mapOf(boardWith({{29, kLowerRook}, {28, kLowerRook}}));
    EXPECT_EQ(m.lowerCount[27], 2);
    EXPECT_EQ(m.lowerCount[21], 2);
    // An enemy piece stops the ray and is never an extension.
    m = mapOf(boardWith({{28, kLowerRook}, {25, kUpperGold}}));
    EXPECT_EQ(m.lowerCount[25], 1);
    EXPECT_EQ(m.lowerCount[24], 0);
    // The own king neither passes nor extends a ray.
    m = mapOf(boardWith({{28, kLowerRook}, {25, kLowerKing}}));
    EXPECT_EQ(m.lowerCount[24], 1);  // the king's own step only
    EXPECT_EQ(m.lowerCount[23], 0);
}

TEST(AttackMap, DiagonalBatteries) {
    AttackMap m = mapOf(boardWith({{88, kLowerBishop}, {77, kLowerSilver}}));
    EXPECT_EQ(m.lowerCount[77], 1);
    EXPECT_EQ(m.lowerCount[66], 2);
    EXPECT_EQ(m.lowerCount[55], 0);
    // A gold does not step backward diagonally; a silver does.
    m = mapOf(boardWith({{22, kLowerBishop}, {33, kLowerGold}}));
    EXPECT_EQ(m.lowerCount[44], 0);
    m = mapOf(boardWith({{22, kLowerBishop}, {33, kLowerSilver}}));
    EXPECT_EQ(m.lowerCount[44], 2);
    // A horse is transparent to a bishop ray.
    m = mapOf(boardWith({{88, kLowerBishop}, {66, kLowerHorse}}));
    EXPECT_EQ(m.lowerCount[44], 2);
}

TEST(AttackMap, UpperSideMirrorsTheLowerSide) {
    // The half-turn of the lance battery above.
    const AttackMap m = mapOf(boardWith({{91, kUpperLance}, {92, kUpperPawn}}));
    EXPECT_EQ(m.upperCount[92], 1);
    EXPECT_EQ(m.upperCount[93], 2);
    EXPECT_EQ(m.upperCount[94], 0);
    const AttackMap knight = mapOf(boardWith({{21, kUpperKnight}}));
    EXPECT_EQ(knight.upperCount[33], 1);
    EXPECT_EQ(knight.upperCount[13], 1);
}

TEST(AttackMap, OffBoardCellsAreZeroEvenWhereCounted) {
    Position p = boardWith({{11, kLowerKing}, {99, kUpperDragon}, {91, kLowerSilver}});
    const AttackMap m = mapOf(p);
    for (int32_t i = 0; i <= 110; ++i) {
        if (isSquare(i)) continue;
        EXPECT_EQ(m.lowerCount[i], 0) << i;
        EXPECT_EQ(m.upperCount[i], 0) << i;
    }
}

TEST(AttackMap, MissingKingLeavesTheFieldAsItWas) {
    AttackMap m;
    m.lowerKing = 77;
    m.upperKing = 33;
    buildAttackMap(boardWith({{55, kUpperKing}}), m);
    EXPECT_EQ(m.lowerKing, 77);
    EXPECT_EQ(m.upperKing, 55);
}

}  // namespace
}  // namespace nusari
