// "Why this move": the terms of the evaluation add up to the very score the
// search gives the move, and the explanation of two lines adds up too.
#include <gtest/gtest.h>

#include <numeric>

#include "aik/aik_loader.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/sfen.h"
#include "study/move_explanation.h"
#include "think/evaluate.h"
#include "think/progress.h"
#include "support/fake_ui.h"

namespace nusari {
namespace {

std::unique_ptr<EngineState> loaded() {
    auto e = std::make_unique<EngineState>();
    test::FakeUi ui;
    EXPECT_EQ(LoadAik(*e, std::string(NUSARI_DATA_DIR) + "/aik/攻め.aik", ui), 1);
    return e;
}

// The start, a middle game with pieces in hand, and 後手 to move.
constexpr const char* kPositions[] = {
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",
    "ln1g3nl/1r1sg1k2/p1pppp1pp/6p2/1p7/2P3P2/PPSPPP2P/2G1K2R1/LN3GSNL b BPbsp 1",
    "lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 1",
};

TEST(MoveExplanation, TheTermsAddUpToTheSearchsScoreOfEveryMove) {
    auto e = loaded();
    for (const char* sfen : kPositions) {
        Position p;
        Side toMove = Side::Lower;
        std::string error;
        ASSERT_TRUE(parseSfen(sfen, p, toMove, error)) << error;
        // The engine's frame: the side to move is the upper side.
        if (toMove == Side::Lower) p = flipPosition(p);
        Progress progress;
        ComputeProgress(*e, p, progress);
        BlendTables(*e, p, progress);
        MoveList moves;
        generateLegalMoves(p, Side::Upper, moves);
        ASSERT_GT(moves.count, 0);
        for (int32_t i = 0; i < moves.count; ++i) {
            const Move m = moves.moves[i];
            Position after = p;
            applyMove(after, Side::Upper, m);
            e->listLength = 0;
            CandidateList list;
            list[0] = Candidate{kQuiescenceFloor, kListEndFrom, kListEndFrom, 0};
            EvaluateMove(*e, after, list, PathTable{}, m.to, m.from);
            const EvalTerms terms = ExplainMove(*e, after, PathTable{}, m.to, m.from);
            if (!terms.legal || terms.mate) continue;
            EXPECT_EQ(terms.total, list[0].score) << sfen << " " << m.from << "-" << m.to;
            EXPECT_EQ(std::accumulate(std::begin(terms.value), std::end(terms.value), 0), terms.total);
        }
    }
}

TEST(MoveExplanation, TwoLinesAreComparedFromTheSideToMove) {
    auto e = loaded();
    Position p;
    Side toMove = Side::Lower;
    std::string error;
    ASSERT_TRUE(parseSfen(kPositions[1], p, toMove, error));
    // A line of one move against a line that ends with the opponent's reply.
    const std::vector<Move> line = usiMoveLine(p, toMove, {"B*5e"});
    const std::vector<Move> other = usiMoveLine(p, toMove, {"7g6f", "S*4h"});
    ASSERT_EQ(line.size(), 1u);
    ASSERT_EQ(other.size(), 2u);
    const MoveExplanation x = ExplainLines(*e, p, toMove, line, other);
    ASSERT_TRUE(x.error.empty()) << x.error;
    ASSERT_GE(x.rows.size(), 2u);
    EXPECT_EQ(x.rows.back().term, "合計");
    int32_t lineSum = 0;
    int32_t otherSum = 0;
    for (size_t i = 0; i + 1 < x.rows.size(); ++i) {
        lineSum += x.rows[i].line;
        otherSum += x.rows[i].other;
    }
    EXPECT_EQ(lineSum, x.rows.back().line);
    EXPECT_EQ(otherSum, x.rows.back().other);
    for (const std::string& rule : x.rules) EXPECT_NE(rule.find(") → "), std::string::npos) << rule;
    // A line that cannot be scored says so.
    EXPECT_FALSE(ExplainLines(*e, p, toMove, {}, other).error.empty());
}

}  // namespace
}  // namespace nusari
