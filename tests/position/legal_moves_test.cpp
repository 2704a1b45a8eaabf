#include "position/legal_moves.h"

#include <gtest/gtest.h>

#include "board_builder.h"
#include "position/position.h"
#include "position/sfen.h"

namespace nusari {
namespace {

using test::boardWith;

Position fromSfen(const char* sfen, Side* toMove = nullptr) {
    Position p;
    Side side = Side::Lower;
    std::string error;
    EXPECT_TRUE(parseSfen(sfen, p, side, error)) << error;
    if (toMove != nullptr) *toMove = side;
    return p;
}

int countFrom(const MoveList& list, int32_t from) {
    int n = 0;
    for (const Move& m : list) n += m.from == from ? 1 : 0;
    return n;
}

TEST(Perft, EvenGameStartDepthsOneToFour) {
    Position p;
    setupPosition(p, kPresetEven);
    const Position before = p;
    const uint64_t expected[] = {30, 900, 25470, 719731};
    for (int depth = 1; depth <= 4; ++depth) {
        EXPECT_EQ(perft(p, Side::Lower, depth), expected[depth - 1]) << depth;
    }
    EXPECT_EQ(p, before);
    // The same counts from the other side's view.
    Position flipped = flipPosition(p);
    EXPECT_EQ(perft(flipped, Side::Upper, 3), 25470u);
}

TEST(LegalMoves, PromotionChoicesAndForcedPromotion) {
    MoveList list;
    // A pawn reaching rank 3 may promote or not; reaching rank 1 must promote.
    generateLegalMoves(boardWith({{54, kLowerPawn}, {12, kLowerPawn}, {12 + 80, kLowerKing}}),
                       Side::Lower, list);
    EXPECT_TRUE(list.contains(Move{54, 53}));
    EXPECT_TRUE(list.contains(Move{54, 153}));
    EXPECT_TRUE(list.contains(Move{12, 111}));
    EXPECT_FALSE(list.contains(Move{12, 11}));
    // A knight into rank 2 must promote; into rank 3 it may choose.
    generateLegalMoves(boardWith({{54, kLowerKnight}, {45, kLowerKnight}}), Side::Lower, list);
    EXPECT_TRUE(list.contains(Move{54, 142}));
    EXPECT_FALSE(list.contains(Move{54, 42}));
    EXPECT_TRUE(list.contains(Move{45, 33}));
    EXPECT_TRUE(list.contains(Move{45, 133}));
    // Promoted pieces move onto the last ranks freely.
    generateLegalMoves(boardWith({{12, kLowerTokin}, {22, kLowerProLance}, {32, kLowerProKnight}}),
                       Side::Lower, list);
    EXPECT_TRUE(list.contains(Move{12, 11}));
    EXPECT_TRUE(list.contains(Move{22, 21}));
    EXPECT_TRUE(list.contains(Move{32, 31}));
    generateLegalMoves(boardWith({{88, kUpperTokin}}), Side::Upper, list);
    EXPECT_TRUE(list.contains(Move{88, 89}));
    // Leaving the zone also promotes; a gold never does.
    generateLegalMoves(boardWith({{33, kLowerSilver}, {73, kLowerGold}}), Side::Lower, list);
    EXPECT_TRUE(list.contains(Move{33, 144}));
    EXPECT_TRUE(list.contains(Move{33, 44}));
    for (const Move& m : list) EXPECT_FALSE(m.from == 73 && isPromotion(m));
}

TEST(LegalMoves, UpperSidePromotesOnRanksSevenToNine) {
    MoveList list;
    generateLegalMoves(boardWith({{56, kUpperPawn}, {98, kUpperPawn}}), Side::Upper, list);
    EXPECT_TRUE(list.contains(Move{56, 57}));
    EXPECT_TRUE(list.contains(Move{56, 157}));
    EXPECT_TRUE(list.contains(Move{98, 199}));
    EXPECT_FALSE(list.contains(Move{98, 99}));
}

TEST(LegalMoves, DropsFollowTheTwoPawnAndDeadRankRules) {
    Position p = boardWith({{59, kLowerKing}, {51, kUpperKing}, {57, kLowerPawn}, {47, kLowerTokin}});
    p[118] = 1;
    p[116] = 1;
    MoveList list;
    generateLegalMoves(p, Side::Lower, list);
    EXPECT_FALSE(list.contains(Move{118, 55}));  // two pawns on file 5
    EXPECT_TRUE(list.contains(Move{118, 45}));   // a tokin does not count
    EXPECT_FALSE(list.contains(Move{118, 41}));
    EXPECT_FALSE(list.contains(Move{116, 32}));
    EXPECT_TRUE(list.contains(Move{116, 33}));
}

TEST(LegalMoves, PawnDropMateIsIllegalButPawnDropCheckIsNot) {
    // Upper king on 11 boxed in by its own pieces; a lower gold guards 12.
    Position p = boardWith({{11, kUpperKing}, {21, kUpperLance}, {22, kUpperPawn},
                            {13, kLowerGold}, {99, kLowerKing}});
    p[118] = 1;
    MoveList list;
    generateLegalMoves(p, Side::Lower, list);
    EXPECT_FALSE(list.contains(Move{118, 12}));
    // Let the king escape to 21 and the same drop is legal.
    p[21] = kEmpty;
    generateLegalMoves(p, Side::Lower, list);
    EXPECT_TRUE(list.contains(Move{118, 12}));
    // A mate by dropping a lance instead is fine.
    p[21] = kUpperLance;
    p[118] = 0;
    p[117] = 1;
    generateLegalMoves(p, Side::Lower, list);
    EXPECT_TRUE(list.contains(Move{117, 12}));
}

TEST(LegalMoves, PinsChecksAndKingMoves) {
    // The silver on 58 is pinned by the rook on 51.
    MoveList list;
    generateLegalMoves(boardWith({{59, kLowerKing}, {58, kLowerSilver}, {51, kUpperRook}}),
                       Side::Lower, list);
    EXPECT_EQ(countFrom(list, 58), 1);  // only straight ahead along the pin
    EXPECT_TRUE(list.contains(Move{58, 57}));
    // In check from a knight: only king moves (or capturing the knight).
    generateLegalMoves(boardWith({{59, kLowerKing}, {47, kUpperKnight}, {11, kLowerRook}}),
                       Side::Lower, list);
    for (const Move& m : list) {
        EXPECT_TRUE(m.from == 59 || destinationOf(m) == 47) << m.from << "->" << m.to;
    }
    EXPECT_TRUE(list.contains(Move{11, 17}) == false);
    // The king may not step next to the enemy king.
    generateLegalMoves(boardWith({{55, kLowerKing}, {53, kUpperKing}}), Side::Lower, list);
    EXPECT_FALSE(list.contains(Move{55, 54}));
    EXPECT_TRUE(list.contains(Move{55, 56}));
}

TEST(LegalMoves, CheckDetectionOnBothSides) {
    EXPECT_TRUE(isInCheck(boardWith({{59, kLowerKing}, {51, kUpperLance}}), Side::Lower));
    EXPECT_FALSE(isInCheck(boardWith({{59, kLowerKing}, {51, kUpperLance}, {55, kUpperPawn}}),
                           Side::Lower));
    EXPECT_TRUE(isInCheck(boardWith({{51, kUpperKing}, {59, kLowerLance}}), Side::Upper));
    EXPECT_FALSE(isInCheck(boardWith({{51, kUpperKing}, {52, kUpperLance}}), Side::Upper));
    EXPECT_TRUE(isInCheck(boardWith({{51, kUpperKing}, {73, kLowerHorse}}), Side::Upper));
    EXPECT_TRUE(isInCheck(boardWith({{51, kUpperKing}, {63, kLowerKnight}}), Side::Upper));
    EXPECT_FALSE(isInCheck(boardWith({{51, kUpperKing}}), Side::Lower));
}

TEST(LegalMoves, ValidatesSfenMovesOfAMidgamePosition) {
    Side side = Side::Lower;
    const Position p = fromSfen(
        "ln1g3nl/1r1sk1gs1/p1pppp1pp/6p2/1p5P1/2P6/PPSPPPP1P/1BG4R1/LN2KGSNL b Bp 1", &side);
    EXPECT_TRUE(isLegalMove(p, side, Move{112 + 1, 55}));  // bishop drop
    EXPECT_FALSE(isLegalMove(p, side, Move{118, 55}));     // no pawn in hand
    EXPECT_TRUE(isLegalMove(p, side, Move{25, 24}));
}

}  // namespace
}  // namespace nusari
