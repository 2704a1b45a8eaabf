#include "think/expand.h"

#include <gtest/gtest.h>

#include "think/hash_tables.h"
#include "think_test_support.h"

namespace nusari {
namespace {

using test::blankEngine;
using test::board;
using test::indexOf;
using test::listHas;

CandidateList expandList(EngineState& state, Position& p) {
    CandidateList result;
    ExpandNode(state, p, 1, result, PathTable{});
    return result;
}

CandidateList expandQuiescence(EngineState& state, Position& p, int32_t bound) {
    CandidateList result;
    result[1].score = bound;
    ExpandNode(state, p, 0, result, PathTable{});
    return result;
}

TEST(ExpandNode, ListModeListsThePassAndLeavesThePositionUnchanged) {
    auto state = blankEngine();
    Position p;
    setupPosition(p, kPresetEven);
    const Position before = p;
    const CandidateList list = expandList(*state, p);
    EXPECT_EQ(p, before);
    EXPECT_TRUE(listHas(list, 0, 0));
    // 30 moves (the same as the lower side's first moves, seen from above)
    // plus the pass and the end entry.
    int32_t n = 0;
    while (list[n].from != kListEndFrom) ++n;
    EXPECT_EQ(n, 31);
    EXPECT_EQ(state->listLength, 32);  // the end entry counts too
}

TEST(ExpandNode, PromotionVariants) {
    auto state = blankEngine();
    Position p = board({{56, kUpperPawn}, {36, kUpperSilver}, {26, kUpperKnight}, {19, kUpperKing},
                        {91, kLowerKing}});
    const CandidateList list = expandList(*state, p);
    EXPECT_TRUE(listHas(list, 56, 157));
    EXPECT_FALSE(listHas(list, 56, 57));
    // A silver from rank 6 to rank 7: both, the promoted one second (equal
    // scores keep the earlier move ahead).
    ASSERT_TRUE(listHas(list, 36, 37));
    ASSERT_TRUE(listHas(list, 36, 137));
    EXPECT_LT(indexOf(list, 36, 37), indexOf(list, 36, 137));
    // A knight to rank 8 only promoted.
    EXPECT_TRUE(listHas(list, 26, 138));
    EXPECT_FALSE(listHas(list, 26, 38));
}

TEST(ExpandNode, DropRestrictions) {
    auto state = blankEngine();
    Position p = board({{53, kUpperPawn}, {11, kUpperKing}, {99, kLowerKing}});
    p[126] = 1;
    p[124] = 1;
    const CandidateList list = expandList(*state, p);
    EXPECT_FALSE(listHas(list, 126, 55));  // file 5 holds an upper pawn
    EXPECT_TRUE(listHas(list, 126, 45));
    EXPECT_FALSE(listHas(list, 126, 49));  // rank 9
    EXPECT_TRUE(listHas(list, 124, 47));
    EXPECT_FALSE(listHas(list, 124, 48));
    EXPECT_FALSE(listHas(list, 124, 49));
}

TEST(ExpandNode, DoubleCheckTriesOnlyKingMoves) {
    auto state = blankEngine();
    // Rook on file 5 and bishop on the diagonal both check the upper king on 51.
    Position p = board({{51, kUpperKing}, {59, kLowerRook}, {84, kLowerBishop}, {43, kUpperGold},
                        {99, kLowerKing}});
    p[126] = 3;
    const CandidateList list = expandList(*state, p);
    ASSERT_NE(list[0].from, kListEndFrom);
    for (int32_t i = 0; list[i].from != kListEndFrom; ++i) EXPECT_EQ(list[i].from, 51);

    // A single sliding check may also be blocked or the checker taken.
    p[84] = kEmpty;
    const CandidateList single = expandList(*state, p);
    EXPECT_TRUE(listHas(single, 126, 55));
    EXPECT_TRUE(listHas(single, 43, 53));
    EXPECT_FALSE(listHas(single, 0, 0));  // no pass in check
}

TEST(ExpandNode, QuiescenceUsesTheTranspositionTable) {
    auto state = blankEngine();
    Position p;
    setupPosition(p, kPresetEven);
    CandidateList stored;
    stored[0].score = 4321;
    StoreHash(*state, p, stored);
    const CandidateList r = expandQuiescence(*state, p, 99999);
    EXPECT_EQ(r[0].score, 4321);
    EXPECT_EQ(state->nodeCount, 0);

    // A negative pass counter never hits.
    p[kLowerTimeCell] = -1;
    StoreHash(*state, p, stored);
    expandQuiescence(*state, p, 99999);
    EXPECT_GT(state->nodeCount, 0);
}

TEST(ExpandNode, QuiescencePassReachingTheBoundReturnsAtOnce) {
    auto state = blankEngine();
    Position p;
    setupPosition(p, kPresetEven);
    const CandidateList r = expandQuiescence(*state, p, -89999);
    EXPECT_EQ(r[0].from, 0);
    EXPECT_EQ(r[0].to, 0);
    EXPECT_EQ(state->nodeCount, 1);
    CandidateList probe;
    EXPECT_FALSE(ProbeHash(*state, p, probe));  // nothing stored
}

// Nodes counted by a quiescence expansion of p with the given bound.
int32_t quiescenceNodes(EngineState& state, Position p, int32_t bound) {
    state.nodeCount = 0;
    CandidateList r;
    r[1].score = bound;
    // A fresh table each time, so that no earlier result is found.
    state.transpositionTable[HashKey(p) % state.hashEntryCount] = TranspositionSlot{};
    ExpandNode(state, p, 0, r, PathTable{});
    return state.nodeCount;
}

TEST(ExpandNode, QuiescenceCutoffsStopOnceTheScanReachesFileFive) {
    auto state = blankEngine();
    test::setStandardValues(*state);
    // An upper silver takes an undefended lower rook; two golds further on
    // in the scan could take pawns.
    auto position = [](int32_t silver, int32_t rook) {
        return board({{silver, kUpperSilver}, {rook, kLowerRook}, {77, kUpperGold},
                      {78, kLowerPawn}, {88, kUpperGold}, {89, kLowerPawn}, {99, kUpperKing},
                      {11, kLowerKing}});
    };
    const Position early = position(33, 34);  // the capture is found in file 3
    const Position late = position(63, 64);   // the capture is found in file 6
    // Bound just above the pass score: the rook capture reaches it.
    Position q = early;
    const int32_t bound = expandQuiescence(*state, q, 99999)[0].score - 1;
    ASSERT_GT(bound, -90000);
    EXPECT_LT(quiescenceNodes(*state, early, bound), quiescenceNodes(*state, early, 99999));
    EXPECT_EQ(quiescenceNodes(*state, late, bound), quiescenceNodes(*state, late, 99999));
}

}  // namespace
}  // namespace nusari
