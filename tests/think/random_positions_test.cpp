// Positions from unchecked files reach the search: no king or several, hands
// above 18, pieces that can never move, cell values that are no piece code.
// The expansion must stay inside every array; the sanitizer build checks it.
#include <gtest/gtest.h>

#include <random>

#include "think/expand.h"
#include "think_test_support.h"

namespace nusari {
namespace {

Position randomPosition(std::mt19937& rng, bool oddValues) {
    Position p;
    setupPosition(p, 0);
    std::uniform_int_distribution<int> roll(0, 99);
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (!isSquare(sq)) continue;
        const int r = roll(rng);
        if (r < 55) continue;
        if (oddValues && r >= 93) {
            const int32_t odd[] = {8, 11, 16, 31, 40, 43, 48, 59, 60, 129, 255, -1, -128, 100000};
            p[sq] = odd[std::uniform_int_distribution<size_t>(0, std::size(odd) - 1)(rng)];
            continue;
        }
        int32_t code = 0;
        do {
            code = std::uniform_int_distribution<int32_t>(0, 47)(rng);
        } while (!isValidPieceCode(code));
        p[sq] = code;
    }
    for (int32_t i = 111; i <= 126; ++i) {
        p[i] = std::uniform_int_distribution<int32_t>(oddValues ? -5 : 0, oddValues ? 300 : 3)(rng);
    }
    return p;
}

void expandBothModes(EngineState& state, Position& p) {
    const Position before = p;
    for (const int32_t depth : {1, 0, -3}) {
        CandidateList result;
        result[1].score = 500;
        ExpandNode(state, p, depth, result, PathTable{});
        EXPECT_EQ(p, before);
    }
}

TEST(RandomPositions, ExpansionStaysInBounds) {
    auto state = test::blankEngine(100, 97);
    test::setStandardValues(*state);
    state->profile.hitu_hukasa = 7;
    state->profile.oute_hukasa = 5;
    state->profile.sute_hukasa = 8;
    std::mt19937 rng(2024);
    for (int i = 0; i < 150; ++i) {
        Position p = randomPosition(rng, false);
        expandBothModes(*state, p);
    }
    for (int i = 0; i < 150; ++i) {
        Position p = randomPosition(rng, true);
        expandBothModes(*state, p);
    }
}

TEST(RandomPositions, WidthOneAndExtremeTablesStillWork) {
    auto state = test::blankEngine(1, 1);
    std::mt19937 rng(99);
    for (auto& table : state->evalTables.table) {
        for (int32_t& v : table) v = std::uniform_int_distribution<int32_t>(-99999, 99999)(rng);
    }
    state->profile.zyoukyou_pl = 999;
    state->profile.zyoukyou_pl_max = 999;
    for (int i = 0; i < 50; ++i) {
        Position p = randomPosition(rng, i % 2 == 1);
        expandBothModes(*state, p);
    }
}

}  // namespace
}  // namespace nusari
