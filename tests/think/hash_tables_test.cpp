#include "think/hash_tables.h"

#include <gtest/gtest.h>

#include <climits>

#include "think_test_support.h"

namespace nusari {
namespace {

using test::blankEngine;

Position evenGame() {
    Position p;
    setupPosition(p, kPresetEven);
    return p;
}

CandidateList pathMark() {
    CandidateList l;
    l[0].from = kPathMarkFrom;
    return l;
}

TEST(HashKey, SumsCellTimesPrimeAndIgnoresHands) {
    Position p;
    setupPosition(p, 0);
    // Every cell 11..99 is 64 or 128; a piece changes the key by (code - 128) * prime.
    const int32_t empty = HashKey(p);
    p[11] = kLowerPawn;
    EXPECT_EQ(HashKey(p), empty + (kLowerPawn - kEmpty) * 37);
    p[118] = 5;
    p[111] = -3;
    EXPECT_EQ(HashKey(p), empty + (kLowerPawn - kEmpty) * 37);
    p[99] = INT32_MIN;  // never negative, whatever a cell holds
    EXPECT_GE(HashKey(p), 0);
}

TEST(PositionMemory, PathMarkRepetitionAndDominance) {
    auto state = blankEngine();
    Position p = evenGame();
    p[118] = 2;  // the side not to move holds two pawns
    p[115] = 1;
    StorePosition(*state, p, pathMark());

    CandidateList l;
    l[0].score = 123;
    EXPECT_EQ(LookupPosition(*state, p, l), kLookupPathMark);
    EXPECT_EQ(l[0].score, 0);

    Position fewer = p;
    fewer[118] = 1;
    EXPECT_EQ(LookupPosition(*state, fewer, l), kLookupPathMark);
    EXPECT_EQ(l[0].score, 90000);

    Position more = p;
    more[118] = 3;
    EXPECT_EQ(LookupPosition(*state, more, l), kLookupPathMark);
    EXPECT_EQ(l[0].score, -90000);

    Position mixed = p;
    mixed[118] = 1;
    mixed[115] = 2;
    EXPECT_EQ(LookupPosition(*state, mixed, l), kLookupMiss);

    Position otherBoard = p;
    otherBoard[77] = kEmpty;
    otherBoard[76] = kLowerPawn;
    EXPECT_EQ(LookupPosition(*state, otherBoard, l), kLookupMiss);
}

TEST(PositionMemory, GeneralisedWinsAndLosses) {
    auto state = blankEngine();
    Position p = evenGame();
    p[118] = 2;
    CandidateList won;
    won[0] = Candidate{kWinScore, 126, 55, -10};
    StorePosition(*state, p, won);
    for (const int32_t pawns : {0, 1, 2, 3}) {
        Position q = p;
        q[118] = pawns;
        CandidateList l;
        const int32_t kind = LookupPosition(*state, q, l);
        if (pawns <= 2) {
            EXPECT_EQ(kind, kLookupVerdict) << pawns;
            EXPECT_EQ(l[0].score, kWinScore);
            EXPECT_EQ(l[0].from, 126);
            EXPECT_EQ(l[0].to, 55);
        } else {
            EXPECT_EQ(kind, kLookupMiss);
        }
    }

    CandidateList lost;
    lost[0] = Candidate{kLossScore, 100, 100, 0};
    StorePosition(*state, p, lost);  // same board: replaces the win
    for (const int32_t pawns : {1, 2, 5}) {
        Position q = p;
        q[118] = pawns;
        CandidateList l;
        EXPECT_EQ(LookupPosition(*state, q, l), pawns >= 2 ? kLookupVerdict : kLookupMiss) << pawns;
    }
}

TEST(PositionMemory, ListsRoundTripOnlyWithEqualHandsAndPassCounter) {
    auto state = blankEngine();
    Position p = evenGame();
    p[111] = -1;  // a negative pass counter is stored as its low byte
    CandidateList stored;
    for (int32_t k = 0; k < kCandidateCapacity; ++k) {
        stored[k] = Candidate{1000 - k, static_cast<int16_t>(11 + k % 89),
                              static_cast<int16_t>(100 + k), static_cast<int16_t>(-k % 50)};
    }
    StorePosition(*state, p, stored);
    CandidateList l;
    EXPECT_EQ(LookupPosition(*state, p, l), kLookupMiss);  // -1 never equals 255
    p[111] = 3;
    StorePosition(*state, p, stored);
    ASSERT_EQ(LookupPosition(*state, p, l), kLookupList);
    for (int32_t k = 0; k < kCandidateCapacity; ++k) {
        EXPECT_EQ(l[k].score, stored[k].score);
        EXPECT_EQ(l[k].from, stored[k].from);
        EXPECT_EQ(l[k].to, stored[k].to);
        EXPECT_EQ(l[k].depthAdjustment, stored[k].depthAdjustment);
    }
    Position otherHand = p;
    otherHand[113] = 1;
    EXPECT_EQ(LookupPosition(*state, otherHand, l), kLookupMiss);
}

TEST(PositionMemory, OneSlotForEverythingStillWorks) {
    auto state = blankEngine(100, 1);
    Position a = evenGame();
    Position b = a;
    b[77] = kEmpty;
    b[76] = kLowerPawn;
    StorePosition(*state, a, pathMark());
    StorePosition(*state, b, pathMark());
    CandidateList l;
    EXPECT_EQ(LookupPosition(*state, a, l), kLookupMiss);
    EXPECT_EQ(LookupPosition(*state, b, l), kLookupPathMark);
}

TEST(HashTables, AllocationFailuresTakeTheFailurePath) {
    for (const int32_t n : {0, -5, INT32_MAX}) {
        auto state = std::make_unique<EngineState>();
        state->hashEntryCount = n;
        test::FakeUi ui;
        EXPECT_EQ(AllocHashTables(*state, ui), -1) << n;
        EXPECT_EQ(state->positionMemory, nullptr);
        EXPECT_EQ(state->transpositionTable, nullptr);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0], "ハッシュ表の確保に失敗");
        ASSERT_EQ(ui.sounds.size(), 1u);
        EXPECT_EQ(ui.sounds[0], Sound::Message);
        // Nothing is stored or found without arrays.
        Position p = evenGame();
        StorePosition(*state, p, pathMark());
        CandidateList l;
        EXPECT_EQ(LookupPosition(*state, p, l), kLookupMiss);
        EXPECT_FALSE(ProbeHash(*state, p, l));
    }
}

TEST(HashTables, FreshArraysAreClearAndNeverMatch) {
    auto state = blankEngine();
    Position p;
    setupPosition(p, 0);
    CandidateList l;
    EXPECT_EQ(LookupPosition(*state, p, l), kLookupMiss);
    EXPECT_FALSE(ProbeHash(*state, p, l));
    FreeHashTables(*state);
    FreeHashTables(*state);  // freeing twice is harmless
}

TEST(TranspositionTable, StoresTheScoreAndComparesWholeCells) {
    auto state = blankEngine();
    Position p = evenGame();
    CandidateList r;
    r[0].score = 777;
    StoreHash(*state, p, r);
    CandidateList out;
    ASSERT_TRUE(ProbeHash(*state, p, out));
    EXPECT_EQ(out[0].score, 777);
    Position other = p;
    other[114] = 1;  // the lower side's hand is part of the key cells
    EXPECT_FALSE(ProbeHash(*state, other, out));
    Position negative = p;
    negative[111] = -1;
    StoreHash(*state, negative, r);
    EXPECT_FALSE(ProbeHash(*state, negative, out));
}

}  // namespace
}  // namespace nusari
