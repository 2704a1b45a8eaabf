#include "think/evaluate.h"
#include "think/king_piece_eval.h"

#include <gtest/gtest.h>

#include "aik/aik_loader.h"
#include "position/position.h"
#include "position/sfen.h"
#include "support/fake_ui.h"
#include "think/progress.h"
#include "think_test_support.h"

namespace nusari {
namespace {

using test::blankEngine;
using test::board;

// Evaluates `p` (which already holds the move) in quiescence mode.
Candidate evaluateSingle(EngineState& state, const Position& p, int32_t to, int32_t from) {
    Progress progress;
    ComputeProgress(state, p, progress);
    BlendTables(state, p, progress);
    state.listLength = 0;
    CandidateList result;
    result[0] = Candidate{kQuiescenceFloor, kListEndFrom, kListEndFrom, 0};
    EvaluateMove(state, p, result, PathTable{}, to, from);
    return result[0];
}

// Lower king cornered on 19, its neighbours 28 and 29 blocked by its own
// pieces that do not guard 18; an upper gold on 17 guards 18.
Position corneredKing() {
    return board({{19, kLowerKing}, {28, kLowerKnight}, {29, kLowerLance}, {17, kUpperGold},
                  {51, kUpperKing}});
}

TEST(EvaluateMove, PawnDropMateIsRejectedWhileAGoldDropMates) {
    auto state = blankEngine();
    Position p = corneredKing();
    p[18] = kUpperPawn;
    Candidate c = evaluateSingle(*state, p, 18, 126);
    EXPECT_EQ(c.score, kQuiescenceFloor);
    EXPECT_EQ(c.from, kListEndFrom);
    EXPECT_EQ(state->nodeCount, 1);

    p[18] = kUpperGold;
    c = evaluateSingle(*state, p, 18, 122);
    EXPECT_EQ(c.score, kWinScore);
    EXPECT_EQ(c.from, 122);
    EXPECT_EQ(c.to, 18);

    // An undefended checker can be taken: no mate, the check scores 101.
    p[17] = kEmpty;
    state->listLength = 0;
    c = evaluateSingle(*state, p, 18, 122);
    EXPECT_LT(c.score, kWinScore);
}

TEST(EvaluateMove, UncapturableKnightCheckMatesEvenUndefended) {
    auto state = blankEngine();
    // Lower king on 13; every neighbour holds a lower piece that does not
    // guard 21, where the upper knight lands.
    Position p = board({{13, kLowerKing}, {12, kLowerLance}, {14, kLowerPawn}, {22, kLowerKnight},
                        {23, kLowerLance}, {24, kLowerPawn}, {59, kUpperKing}, {21, kUpperKnight}});
    const Candidate c = evaluateSingle(*state, p, 21, 124);
    EXPECT_EQ(c.score, kWinScore);
    EXPECT_EQ(c.from, 124);
}

TEST(EvaluateMove, LeavingTheKingAttackedCountsButRecordsNothing) {
    auto state = blankEngine();
    const Position p = board({{51, kUpperKing}, {59, kLowerRook}, {99, kLowerKing}});
    const Candidate c = evaluateSingle(*state, p, 41, 42);
    EXPECT_EQ(c.score, kQuiescenceFloor);
    EXPECT_EQ(state->nodeCount, 1);
}

TEST(EvaluateMove, KingOnFileOneGetsRoomFromTheEdge) {
    auto state = blankEngine();
    // Lower king alone on 15: both sides count 33 (the file - 1 cells are
    // off-board, which counts as free and unattacked).
    const Candidate c = evaluateSingle(*state, board({{15, kLowerKing}}), 0, 0);
    EXPECT_EQ(c.score, -66);
}

TEST(EvaluateMove, ListModeKeepsTheBestHabaEntriesAndEarlierTiesAhead) {
    auto state = blankEngine(3);
    // A lone upper pawn scores its square value: 5, 9, 9, 1 on 55..58.
    const int32_t values[] = {5, 9, 9, 1};
    for (int32_t i = 0; i < 4; ++i) state->evalTables.table[kUpperPawn][55 + i] = values[i];
    CandidateList list = test::emptyList();
    state->listLength = 1;
    state->passScore = kLossScore;
    for (int32_t i = 0; i < 4; ++i) {
        const Position p = board({{55 + i, kUpperPawn}});
        Progress progress;
        ComputeProgress(*state, p, progress);
        BlendTables(*state, p, progress);
        EvaluateMove(*state, p, list, PathTable{}, 55 + i, 54 + i);
    }
    EXPECT_EQ(list[0].score, 9);
    EXPECT_EQ(list[0].to, 56);  // the first of the two nines
    EXPECT_EQ(list[1].score, 9);
    EXPECT_EQ(list[1].to, 57);
    EXPECT_EQ(list[2].score, 5);
    EXPECT_EQ(state->listLength, 2);
}

class DepthAdjustment : public ::testing::Test {
protected:
    // The upper gold on 53 checks the lower king on 54, which can escape.
    Candidate evaluate(int32_t passScore, const PathTable& path = PathTable{}, int32_t from = 42) {
        const Position p = board({{54, kLowerKing}, {53, kUpperGold}, {11, kUpperKing}});
        Progress progress;
        ComputeProgress(*state, p, progress);
        BlendTables(*state, p, progress);
        state->listLength = 1;
        state->passScore = passScore;
        CandidateList list = test::emptyList();
        EvaluateMove(*state, p, list, path, 53, from);
        return list[0];
    }
    void SetUp() override { state->profile.sute_hukasa = 10; }
    test::EnginePtr state = blankEngine();
};

TEST_F(DepthAdjustment, CheckNoBetterThanThePassScalesByOuteHukasa) {
    state->profile.oute_hukasa = 5;
    state->profile.hitu_hukasa = 10;
    EXPECT_EQ(evaluate(1000000).depthAdjustment, -5);
}

TEST_F(DepthAdjustment, GainOverThePassCreditsDepthUnlessHituHukasaIsOff) {
    state->profile.oute_hukasa = 10;
    const int32_t score = evaluate(1000000).score;
    state->profile.hitu_hukasa = 10;
    EXPECT_EQ(evaluate(score - 60).depthAdjustment, -4);  // -10 + 60 / 10
    state->profile.hitu_hukasa = 0;                       // switched off: no division
    EXPECT_EQ(evaluate(score - 60).depthAdjustment, -10);
    state->profile.hitu_hukasa = 1;
    EXPECT_EQ(evaluate(score - 60).depthAdjustment, -2);  // never above -2
}

TEST_F(DepthAdjustment, RecapturesAndThePassKeepTheirOwnFactors) {
    state->profile.oute_hukasa = 10;
    state->profile.doute_hukasa[0] = 5;
    state->profile.doute_kati[0] = 7;
    PathTable path;
    path[0] = 53;
    const Candidate plain = evaluate(1000000);
    const Candidate recapture = evaluate(1000000, path);
    EXPECT_EQ(recapture.depthAdjustment, -5);
    EXPECT_EQ(recapture.score, plain.score + 7);
    EXPECT_EQ(evaluate(-1000000, path, 0).depthAdjustment, -10);  // the pass
}

// The second search's node evaluation is the seed's evaluation of the move
// into the node, from the side that made it, negated; the same whichever way
// the board is turned.
TEST(EvaluatePosition, IsTheMoversEvaluationNegatedInEitherFrame) {
    auto state = std::make_unique<EngineState>();
    test::FakeUi ui;
    ASSERT_EQ(LoadAik(*state, NUSARI_DATA_DIR "/aik/攻め.aik", ui), 1);
    const char* const positions[] = {
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",
        "ln1g3nl/1r1sg1k2/p1pppp1pp/6p2/1p7/2P3P2/PPSPPP2P/2G1K2R1/LN3GSNL b BPbsp 1",
        "l2+P4+P/1RS1k1g2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L b RG2SNLPb4p 1",
        "lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 1",
    };
    for (const char* sfen : positions) {
        Position p;
        Side toMove = Side::Lower;
        std::string error;
        ASSERT_TRUE(parseSfen(sfen, p, toMove, error)) << error;
        const int32_t score = EvaluatePosition(*state, p, toMove);
        EXPECT_EQ(EvaluatePosition(*state, flipPosition(p), opponentOf(toMove)), score) << sfen;
        // The seed's evaluation in its frame (the mover up).
        const Position mover = toMove == Side::Upper ? flipPosition(p) : p;
        EXPECT_EQ(-evaluateSingle(*state, mover, 0, 0).score, score) << sfen;
    }
    // The side not to move stands in check: its king can be taken.
    Position p;
    Side toMove = Side::Lower;
    std::string error;
    ASSERT_TRUE(parseSfen("l2+PR3+P/1RS1k1g2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L b G2SNLPb4p 1",
                          p, toMove, error));
    EXPECT_EQ(EvaluatePosition(*state, p, toMove), kWinScore);
}

// The king-piece evaluation: each piece's square value and its values
// against both kings, and the hands, summed for the lower side and taken
// from the upper; the same from either side of the board.
TEST(EvaluateKingPiece, SumsEachPiecesTermsForTheSideToMove) {
    auto state = std::make_unique<EngineState>();
    state->kingPieceTables.present = true;
    state->evalTables.table[kGold][58] = 700;
    state->evalTables.table[kLowerKing][59] = 5;  // both kings stand on it, each from its own side
    state->evalTables.table[kPawn][kHandValueSlot + 2] = 180;
    state->kingPieceTables.value[kGold][kingPieceSlot(-1, 0)] = 40;                       // beside its king
    state->kingPieceTables.value[kKingPieceOtherSide + kGold][kingPieceSlot(-7, 0)] = 9;  // seen by the other
    Position p;
    Side toMove = Side::Lower;
    std::string error;
    ASSERT_TRUE(parseSfen("4k4/9/9/9/9/9/9/4G4/4K4 b 2p 1", p, toMove, error)) << error;
    EXPECT_EQ(EvaluateKingPiece(*state, p, Side::Lower), 700 + 40 - 9 - 180);
    EXPECT_EQ(EvaluateKingPiece(*state, p, Side::Upper), -(700 + 40 - 9 - 180));
    EXPECT_EQ(EvaluatePosition(*state, p, Side::Lower), 700 + 40 - 9 - 180);

    for (int32_t i = 0; i < kKingPieceEvalIndices; ++i) KingPieceNumber(*state, i) = (i * 7919) % 601 - 300;
    for (const char* sfen : {"ln1g3nl/1r1sg1k2/p1pppp1pp/6p2/1p7/2P3P2/PPSPPP2P/2G1K2R1/LN3GSNL b BPbsp 1",
                             "l2+P4+P/1RS1k1g2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L w RG2SNLPb4p 1",
                             "8k/9/9/9/9/9/9/9/9 b R2b4g4s4n4l18p 1"}) {
        ASSERT_TRUE(parseSfen(sfen, p, toMove, error)) << error;
        EXPECT_EQ(EvaluateKingPiece(*state, flipPosition(p), opponentOf(toMove)),
                  EvaluateKingPiece(*state, p, toMove))
            << sfen;
    }
}

}  // namespace
}  // namespace nusari
