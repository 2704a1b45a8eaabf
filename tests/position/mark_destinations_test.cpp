#include "position/mark_destinations.h"

#include <gtest/gtest.h>

#include <set>

#include "board_builder.h"

namespace nusari {
namespace {

using test::boardWith;

std::set<int32_t> markedSquares(const Position& p, int32_t selected) {
    GameFields g;
    g.currentPosition = p;
    g.destinationMarks[50] = 1;  // a stale mark must be cleared
    MarkDestinations(g, selected);
    std::set<int32_t> marked;
    for (int32_t i = 0; i < kBoardCells; ++i) {
        if (g.destinationMarks[i] != 0) marked.insert(i);
    }
    return marked;
}

bool anyOnRank(const std::set<int32_t>& squares, int32_t rank) {
    for (const int32_t sq : squares) {
        if (isSquare(sq) && rankOf(sq) == rank) return true;
    }
    return false;
}

TEST(MarkDestinations, RookStopsAtOwnPiecesAndMarksCaptures) {
    const std::set<int32_t> m =
        markedSquares(boardWith({{28, kLowerRook}, {27, kLowerPawn}, {18, kUpperPawn}}), 28);
    EXPECT_FALSE(m.count(27));
    EXPECT_FALSE(m.count(26));
    EXPECT_TRUE(m.count(18));   // the capture
    EXPECT_TRUE(m.count(29));
    EXPECT_TRUE(m.count(98));
    EXPECT_FALSE(m.count(50));
}

TEST(MarkDestinations, StepPiecesAndKnights) {
    EXPECT_EQ(markedSquares(boardWith({{55, kLowerSilver}}), 55),
              (std::set<int32_t>{44, 46, 54, 64, 66}));
    EXPECT_EQ(markedSquares(boardWith({{55, kLowerTokin}}), 55),
              (std::set<int32_t>{44, 45, 54, 56, 64, 65}));
    EXPECT_EQ(markedSquares(boardWith({{55, kLowerKnight}, {43, kLowerGold}}), 55),
              (std::set<int32_t>{63}));
    // A knight stuck on rank 1 (from an unchecked file) marks inside the cells only.
    const std::set<int32_t> stuck = markedSquares(boardWith({{11, kLowerKnight}}), 11);
    for (const int32_t sq : stuck) EXPECT_TRUE(sq >= 0 && sq < kBoardCells);
}

TEST(MarkDestinations, HorseStepsOrthogonallyAndSlidesDiagonally) {
    const std::set<int32_t> m = markedSquares(boardWith({{55, kLowerHorse}, {44, kUpperGold}}), 55);
    EXPECT_TRUE(m.count(45) && m.count(54) && m.count(56) && m.count(65));
    EXPECT_FALSE(m.count(53));
    EXPECT_TRUE(m.count(44));
    EXPECT_FALSE(m.count(33));
    EXPECT_TRUE(m.count(19));
}

TEST(MarkDestinations, PawnDropsSkipFilesWithAPawnButNotWithATokin) {
    Position p = boardWith({{57, kLowerPawn}, {47, kLowerTokin}, {33, kUpperPawn}});
    p[118] = 1;
    const std::set<int32_t> m = markedSquares(p, 118);
    EXPECT_FALSE(m.count(55));
    EXPECT_TRUE(m.count(45));
    EXPECT_FALSE(m.count(47));  // occupied
    EXPECT_FALSE(m.count(33));
    EXPECT_FALSE(anyOnRank(m, 1));
    EXPECT_TRUE(anyOnRank(m, 2));
}

TEST(MarkDestinations, KnightAndLanceDropsAvoidTheirDeadRanks) {
    Position p = boardWith({});
    std::set<int32_t> knight = markedSquares(p, 116);
    EXPECT_FALSE(anyOnRank(knight, 1));
    EXPECT_FALSE(anyOnRank(knight, 2));
    EXPECT_EQ(knight.size(), 63u);
    std::set<int32_t> lance = markedSquares(p, 117);
    EXPECT_FALSE(anyOnRank(lance, 1));
    EXPECT_EQ(lance.size(), 72u);
    EXPECT_EQ(markedSquares(p, 112).size(), 81u);
}

TEST(MarkDestinations, MoveExposingOwnKingIsStillMarked) {
    // The silver is pinned by the rook, but the marking does not test that.
    const std::set<int32_t> m =
        markedSquares(boardWith({{59, kLowerKing}, {58, kLowerSilver}, {51, kUpperRook}}), 58);
    EXPECT_TRUE(m.count(47));
}

TEST(MarkDestinations, NonPiecesAndBadCellsMarkNothing) {
    Position p = boardWith({{55, kUpperRook}, {56, 99}});
    EXPECT_TRUE(markedSquares(p, 55).empty());
    EXPECT_TRUE(markedSquares(p, 56).empty());
    EXPECT_TRUE(markedSquares(p, 0).empty());
    EXPECT_TRUE(markedSquares(p, 120).empty());
    EXPECT_TRUE(markedSquares(p, 5000).empty());
}

}  // namespace
}  // namespace nusari
