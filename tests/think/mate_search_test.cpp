#include "think/mate_search.h"

#include <gtest/gtest.h>

#include "position/position.h"
#include "position/sfen.h"
#include "think/clock.h"
#include "think/root_mates.h"
#include "think/think_for_side.h"
#include "think_test_support.h"

namespace nusari {
namespace {

Position fromSfen(const char* sfen, Side& toMove) {
    Position p;
    std::string error;
    EXPECT_TRUE(parseSfen(sfen, p, toMove, error)) << sfen << ": " << error;
    return p;
}

// Positions whose mates were checked move by move with an independent
// rules library; `plies` is the shortest mate, 0 for none within `searched`.
TEST(MateSearch, FindsTheShortestMateAndNoFalseOnes) {
    const struct {
        const char* sfen;
        int32_t searched;
        int32_t plies;
        const char* first;
    } cases[] = {
        {"8k/9/p7P/9/9/9/9/9/4K4 b G 1", 5, 1, "G*1b"},
        // A pawn drop would mate: not allowed, so no mate in 1.
        {"8k/9/6NG1/9/9/9/9/9/4K4 b P 1", 1, 0, ""},
        {"ln7/2k1+L3G/pppp3+Sp/9/3P1S1p1/2P3P2/PPN1pP1PP/2K2G2R/L6NL b R2B2G2SN3P 93", 5, 3, "R*6b"},
        {"l3s2k1/5r1pP/2n1+B1n2/ppg4Pp/3p5/P8/1PPP1PP2/2GS2S2/LN1K1G1NL b 3PSRgl2pb 129", 5, 5, ""},
        {"5ksnl/1+B2n4/pp3g2p/b1gppppp1/5L3/2L6/P2SPPPPP/1+rG2KSg1/3+rS2NL w n4p 98", 5, 5, ""},
        {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", 5, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sfen);
        Side side = Side::Lower;
        const Position p = fromSfen(c.sfen, side);
        for (int32_t plies = 1; plies <= c.searched; plies += 2) {
            MateSearch search(1000000, 0);
            Move first;
            const bool expected = c.plies != 0 && plies >= c.plies;
            ASSERT_EQ(search.findMate(p, side, plies, first), expected) << plies;
            EXPECT_FALSE(search.gaveUp());
            if (expected && c.first[0] != '\0') {
                EXPECT_EQ(moveToUsi(first, side), c.first);
            }
        }
    }
}

TEST(MateSearch, GivesUpAtItsNodeLimit) {
    Side side = Side::Lower;
    const Position p = fromSfen(
        "l3s2k1/5r1pP/2n1+B1n2/ppg4Pp/3p5/P8/1PPP1PP2/2GS2S2/LN1K1G1NL b 3PSRgl2pb 129", side);
    MateSearch search(20, 0);
    Move first;
    EXPECT_FALSE(search.findMate(p, side, 5, first));
    EXPECT_TRUE(search.gaveUp());
}

// White (the computer's side) to move: 9c9d lets G*1b mate, S*1b does not.
TEST(RootMates, DropsCandidatesThatLetTheOpponentMate) {
    Side side = Side::Lower;
    const Position p = fromSfen("8k/9/p7P/9/9/9/9/9/4K4 w Gs 1", side);
    ASSERT_EQ(side, Side::Upper);
    auto state = test::blankEngine(3);
    state->profile.tume_hukasa = 1;
    state->searchStartMs = 0;  // no deadline within reach
    state->searchLimitMs = 1 << 30;
    const Candidate end{kLossScore, kListEndFrom, kListEndFrom, 0};
    const Candidate quiet{5, 93, 94, 0};
    const Candidate cover{4, kUpperHandBase + kSilver, 12, 0};

    CandidateList both;
    both[0] = quiet;
    both[1] = cover;
    both[2] = end;
    EXPECT_EQ(DropMatedCandidates(*state, p, both), 1);
    EXPECT_EQ(both[0].from, cover.from);
    EXPECT_EQ(both[1].from, kListEndFrom);

    // When the generator proposed only losing moves, a safe legal move
    // takes their place.
    CandidateList onlyQuiet;
    onlyQuiet[0] = quiet;
    onlyQuiet[1] = end;
    DropMatedCandidates(*state, p, onlyQuiet);
    EXPECT_NE(onlyQuiet[0].from, quiet.from);
    Position after = p;
    applyMove(after, Side::Upper, Move{onlyQuiet[0].from, onlyQuiet[0].to});
    MateSearch check(100000, 0);
    Move reply;
    EXPECT_FALSE(check.findMate(after, Side::Lower, 1, reply));

    state->profile.tume_hukasa = 0;
    CandidateList off = both;
    off[0] = quiet;
    off[1] = cover;
    EXPECT_EQ(DropMatedCandidates(*state, p, off), 0);
    EXPECT_EQ(off[0].from, quiet.from);
}

// With tume_hukasa the engine plays the mate it finds at once.
TEST(RootMates, ThinkMovePlaysTheMate) {
    Side side = Side::Lower;
    const Position p =
        fromSfen("ln7/2k1+L3G/pppp3+Sp/9/3P1S1p1/2P3P2/PPN1pP1PP/2K2G2R/L6NL b R2B2G2SN3P 93", side);
    auto state = test::blankEngine(20);
    state->profile.tume_hukasa = 3;
    state->timeLimitMs = 1000;
    test::FakeUi ui;
    const Move reply = ThinkForSide(*state, ui, p, Side::Lower);
    EXPECT_EQ(moveToUsi(reply, Side::Lower), "R*6b");
}

}  // namespace
}  // namespace nusari
