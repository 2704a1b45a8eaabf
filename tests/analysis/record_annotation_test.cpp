// A record's line judged by an engine: the scores before and after each
// move, the labels and comments, both sides' tallies, and an analysis
// stopped early or missing a score.
#include <gtest/gtest.h>

#include <map>

#include "analysis/record_annotation.h"
#include "position/sfen.h"
#include "records/comment_scores.h"

namespace nusari {
namespace {

class RecordAnnotationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // ▲7六歩 △3四歩 ▲2六歩 △8四歩, each position with its score (from
        // the side to move) and the engine's line.
        const Move moves[] = {{77, 76}, {33, 34}, {27, 26}, {83, 84}};
        const int32_t scores[] = {50, -40, 30, 700, -650};
        NodeId at = kRootNode;
        for (int32_t ply = 0; ply <= 4; ++ply) {
            PositionScore s;
            s.score = scores[ply];
            // At ply 2 the engine prefers ▲1六歩 to the move played.
            if (ply < 4) s.line = {ply == 2 ? Move{17, 16} : moves[ply]};
            s.depth = 10 + ply;
            byPosition[toSfen(tree.positionAt(at), tree.sideToMoveAt(at))] = s;
            if (ply < 4) at = tree.addMove(at, moves[ply]);
        }
        end = at;
        tree.node(tree.pathTo(end)[2]).comment = "ここが問題";
    }

    PositionScorer scorer() {
        return [this](const Position& p, Side toMove) -> std::optional<PositionScore> {
            ++calls;
            const auto it = byPosition.find(toSfen(p, toMove));
            if (it == byPosition.end()) return std::nullopt;
            return it->second;
        };
    }
    const std::string& comment(int32_t ply) { return tree.node(tree.pathTo(end)[ply - 1]).comment; }

    RecordTree tree;
    NodeId end = kRootNode;
    std::map<std::string, PositionScore> byPosition;
    int32_t calls = 0;
};

TEST_F(RecordAnnotationTest, EachMoveIsJudgedByTheScoresAroundIt) {
    for (const bool fromTheEnd : {false, true}) {
        SetUp();
        calls = 0;
        AnnotationSettings settings;
        settings.engineName = "テスト";
        settings.fromTheEnd = fromTheEnd;
        const AnnotationSummary summary = AnnotateLine(tree, end, scorer(), settings);
        EXPECT_EQ(calls, 5);  // each position once
        EXPECT_EQ(summary.judged, 4);
        EXPECT_EQ(summary.sente.labels[static_cast<std::size_t>(MoveLabel::Mistake)], 1);
        EXPECT_EQ(summary.gote.labels[static_cast<std::size_t>(MoveLabel::None)], 2);
        // ▲2六歩 let 30 become -700 for 先手: 悪手, with the reply the engine
        // expects and the user's comment kept.
        EXPECT_EQ(comment(3),
                  "ここが問題\n【悪手】\n#評価値=-700\n#読み筋=△８四歩\n#深さ=13\n#エンジン=テスト");
        EXPECT_EQ(comment(1).find("【"), std::string::npos);  // the engine's own move
        EXPECT_EQ(ScoresInComment(comment(4)).analysed, -650);  // 先手's side
    }
}

TEST_F(RecordAnnotationTest, AStoppedOrFailedAnalysisJudgesOnlyWhatItScored) {
    AnnotationSettings settings;
    AnnotationSummary summary =
        AnnotateLine(tree, end, scorer(), settings, [](int32_t done, int32_t) { return done < 3; });
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.judged, 2);
    EXPECT_TRUE(comment(3).find("#評価値") == std::string::npos);

    SetUp();
    byPosition.erase(toSfen(tree.positionAt(tree.pathTo(end)[1]), Side::Lower));  // after ply 2
    settings.firstPly = 2;
    summary = AnnotateLine(tree, end, scorer(), settings);
    EXPECT_EQ(summary.judged, 1);  // moves 2 and 3 lack a score; move 1 is not asked
    EXPECT_NE(comment(4).find("#評価値"), std::string::npos);
}

TEST(LineText, StopsAtTheFirstMoveThatIsNotLegal) {
    const RecordTree tree;
    EXPECT_EQ(LineText(tree.start(), Side::Lower, {{77, 76}, {33, 34}, {88, 122}, {11, 15}, {31, 22}}),
              "▲７六歩△３四歩▲２二角成");
}

}  // namespace
}  // namespace nusari
