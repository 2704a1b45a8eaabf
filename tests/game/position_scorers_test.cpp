// The scores 棋譜解析 takes from an .aik engine: decided positions score as
// mates from the side to move, whichever way the search decides them.
#include <gtest/gtest.h>

#include "aik/aik_loader.h"
#include "game/position_scorers.h"
#include "position/sfen.h"
#include "records/comment_scores.h"
#include "support/fake_ui.h"

namespace nusari {
namespace {

TEST(AikScorer, DecidedPositionsScoreAsMatesFromTheSideToMove) {
    EngineState engine;
    test::FakeUi ui;
    ASSERT_EQ(LoadAik(engine, std::string(NUSARI_DATA_DIR) + "/aik/攻め.aik", ui), 1);
    engine.bookTable.clear();
    const PositionScorer scorer = AikScorer(engine, 200);
    const struct {
        const char* sfen;
        int32_t score;
    } cases[] = {
        // 先手 mates in three (▲５一飛打 △４二玉 ▲５二金打).
        {"l2+P4+P/1RS1k1g2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L b RG2SNLPb4p 1", kCommentMateScore},
        // 後手 in check with every reply mated.
        {"l2+PR3+P/1RS1k1g2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L w G2SNLPb4p 1", -kCommentMateScore},
        // 先手 mates in one.
        {"l2+PR3+P/1RS2kg2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L b G2SNLPb4p 1", kCommentMateScore},
        // 後手 is mated.
        {"l2+PR3+P/1RS1Gkg2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L w 2SNLPb4p 1", -kCommentMateScore},
    };
    for (const auto& c : cases) {
        Position p;
        Side toMove = Side::Lower;
        std::string error;
        ASSERT_TRUE(parseSfen(c.sfen, p, toMove, error)) << error;
        const std::optional<PositionScore> s = scorer(p, toMove);
        ASSERT_TRUE(s.has_value()) << c.sfen;
        EXPECT_EQ(s->score, c.score) << c.sfen;
    }
}

}  // namespace
}  // namespace nusari
