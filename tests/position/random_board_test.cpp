// Positions read from unchecked files may hold anything a reader can store:
// pawns and lances on their last rank, knights on their last two ranks, no
// king or several, huge hands, cell values that are no piece code. Every
// routine must stay inside its arrays; the sanitizer build catches any slip.
#include <gtest/gtest.h>

#include <random>

#include "position/attack_map.h"
#include "position/legal_moves.h"
#include "position/mark_destinations.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"

namespace nusari {
namespace {

int32_t randomCell(std::mt19937& rng, bool anyValue) {
    std::uniform_int_distribution<int> pick(0, 99);
    const int roll = pick(rng);
    if (roll < 45) return kEmpty;
    if (anyValue && roll >= 90) {
        // Values no reader should produce, but a careless one could.
        const int32_t odd[] = {8, 11, 16, 31, 40, 43, 48, 59, 60, 63, 64, 65, 127, 129, 255, -1, -64,
                               1000, INT32_MIN, INT32_MAX};
        return odd[std::uniform_int_distribution<size_t>(0, std::size(odd) - 1)(rng)];
    }
    int32_t code = 0;
    do {
        code = std::uniform_int_distribution<int32_t>(0, 47)(rng);
    } while (!isValidPieceCode(code));
    return code;
}

Position randomBoard(std::mt19937& rng, bool anyValue) {
    Position p;
    setupPosition(p, 0);
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (isSquare(sq)) p[sq] = randomCell(rng, anyValue);
    }
    for (int32_t i = 111; i <= 126; ++i) {
        p[i] = std::uniform_int_distribution<int32_t>(anyValue ? -3 : 0, anyValue ? 40 : 3)(rng);
    }
    return p;
}

void exercise(const Position& p, bool validCodes) {
    AttackMap map;
    buildAttackMap(p, map);
    EXPECT_LE(map.pieceCount, kMaxPieceSquares);
    for (int32_t i = 0; i <= 110; ++i) {
        if (!isSquare(i)) {
            EXPECT_EQ(map.lowerCount[i], 0);
            EXPECT_EQ(map.upperCount[i], 0);
        }
    }
    GameFields game;
    game.currentPosition = p;
    for (int32_t cell = -2; cell <= 130; ++cell) MarkDestinations(game, cell);

    for (const Side side : {Side::Lower, Side::Upper}) {
        MoveList list;
        generateLegalMoves(p, side, list);
        Position q = p;
        for (const Move& m : list) {
            const int32_t captured = applyMove(q, side, m);
            undoMove(q, side, m, captured);
        }
        EXPECT_EQ(q, p);
    }
    // Flipping twice is the identity on cells that hold piece codes.
    const Position flipped = flipPosition(p);
    if (validCodes) {
        EXPECT_EQ(flipPosition(flipped), p);
    }
    (void)toSfen(p, Side::Lower);
}

TEST(RandomBoards, LegalCodesAnywhereStayInBounds) {
    std::mt19937 rng(12345);
    for (int i = 0; i < 300; ++i) exercise(randomBoard(rng, false), true);
}

TEST(RandomBoards, ArbitraryCellValuesStayInBounds) {
    std::mt19937 rng(777);
    for (int i = 0; i < 300; ++i) exercise(randomBoard(rng, true), false);
}

TEST(RandomBoards, EdgePiecesOnTheirLastRanks) {
    // Knights, lances and pawns of both sides on every edge square at once.
    Position p;
    setupPosition(p, 0);
    for (int32_t file = 1; file <= 9; ++file) {
        p[squareOf(file, 1)] = file % 2 ? kLowerKnight : kLowerLance;
        p[squareOf(file, 2)] = file % 2 ? kLowerPawn : kLowerKnight;
        p[squareOf(file, 9)] = file % 2 ? kUpperKnight : kUpperPawn;
        p[squareOf(file, 8)] = file % 2 ? kUpperLance : kUpperKnight;
    }
    exercise(p, true);
    Position copy = p;
    EXPECT_GE(perft(copy, Side::Lower, 2), 0u);
}

}  // namespace
}  // namespace nusari
