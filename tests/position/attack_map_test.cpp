#include "position/attack_map.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

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


// Random boards with at most one king a side, and random moves on them
// (any piece to any square not its own side's, promoted or not, drops
// onto empty squares, kings taken): the updated map is the rebuilt one.
TEST(AttackMap, UpdateAfterAMoveEqualsARebuild) {
    std::mt19937 rng(2024);
    auto roll = [&](int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(rng); };
    auto randomCode = [&] {
        int32_t code = 0;
        do {
            code = roll(48);
        } while (!isValidPieceCode(code) || (code & 15) == kKing);
        return code;
    };
    int32_t compared = 0;
    for (int32_t board = 0; board < 200; ++board) {
        Position p;
        setupPosition(p, kPresetEven);
        for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
            if (isSquare(sq)) p[sq] = roll(100) < 55 ? kEmpty : randomCode();
        }
        if (roll(4) > 0) p[squareOf(1 + roll(9), 1 + roll(9))] = kLowerKing;
        if (roll(4) > 0) p[squareOf(1 + roll(9), 1 + roll(9))] = kUpperKing;
        AttackBase base;
        buildAttackBase(p, base);
        ASSERT_TRUE(base.usable);
        for (int32_t move = 0; move < 40; ++move) {
            const int32_t to = squareOf(1 + roll(9), 1 + roll(9));
            const int32_t side = roll(2) == 0 ? kLowerSide : kUpperSide;
            if (p[to] != kEmpty && sideOf(p[to]) == side) continue;
            Position q = p;
            int32_t from = 0;
            int32_t moved = 0;
            if (p[to] == kEmpty && roll(3) == 0) {
                from = (side == kLowerSide ? kLowerHandBase : kUpperHandBase) + 1 + roll(7);
                moved = side + (from - (side == kLowerSide ? kLowerHandBase : kUpperHandBase));
            } else {
                from = base.pieceSquares[roll(base.pieceCount)];
                moved = p[from];
                if (from == to || sideOf(moved) != side) continue;
                q[from] = kEmpty;
            }
            const bool promotes = !isPromoted(moved) && (moved & 7) != kKing && (moved & 7) != kGold &&
                                  from < kBoardCells && roll(2) == 0;
            q[to] = promotes ? moved + kPromotedFlag : moved;
            AttackMap updated;
            updateAttackMap(base, q, from, to, moved, p[to], updated);
            AttackMap rebuilt;
            rebuilt.lowerKing = 0;
            rebuilt.upperKing = 0;
            buildAttackMap(q, rebuilt);
            ASSERT_EQ(std::vector<int32_t>(updated.lowerCount, updated.lowerCount + kBoardCells),
                      std::vector<int32_t>(rebuilt.lowerCount, rebuilt.lowerCount + kBoardCells));
            ASSERT_EQ(std::vector<int32_t>(updated.upperCount, updated.upperCount + kBoardCells),
                      std::vector<int32_t>(rebuilt.upperCount, rebuilt.upperCount + kBoardCells));
            ASSERT_EQ(std::vector<int32_t>(updated.pieceSquares, updated.pieceSquares + updated.pieceCount),
                      std::vector<int32_t>(rebuilt.pieceSquares, rebuilt.pieceSquares + rebuilt.pieceCount));
            ASSERT_EQ(updated.lowerKing, rebuilt.lowerKing);
            ASSERT_EQ(updated.upperKing, rebuilt.upperKing);
            ++compared;
        }
    }
    EXPECT_GT(compared, 3000);
}

// Two kings of a side, or a cell that holds no piece code, and the base
// must not be used.
TEST(AttackMap, UnusualBoardsAreNotUpdated) {
    Position twoKings = boardWith({{59, kLowerKing}, {51, kUpperKing}, {11, kLowerKing}});
    Position oddCell = boardWith({{59, kLowerKing}, {51, kUpperKing}, {55, 20}});
    Position padding = boardWith({{59, kLowerKing}, {51, kUpperKing}});
    padding[50] = kLowerPawn;
    for (const Position& p : {twoKings, oddCell, padding}) {
        AttackBase base;
        buildAttackBase(p, base);
        EXPECT_FALSE(base.usable);
    }
}

}  // namespace
}  // namespace nusari
