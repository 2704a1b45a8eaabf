// Judging moves from an analysis's scores, the comments that carry the
// judgement, and the scores read back from comments of other programs.
#include <gtest/gtest.h>

#include "analysis/move_judgement.h"
#include "records/comment_scores.h"

namespace nusari {
namespace {

TEST(MoveJudgement, WinRatesAndLabels) {
    EXPECT_DOUBLE_EQ(WinRate(0), 50);
    EXPECT_NEAR(WinRate(600), 73.106, 1e-3);
    EXPECT_NEAR(WinRate(-600) + WinRate(600), 100, 1e-9);
    EXPECT_NEAR(WinRate(300, 300), 73.106, 1e-3);
    EXPECT_DOUBLE_EQ(WinRate(300, 0), WinRate(300));  // a broken scale is the default
    const struct {
        int32_t before, after;
        bool best;
        MoveLabel label;
    } cases[] = {
        {0, 0, false, MoveLabel::None},          {0, -100, false, MoveLabel::None},     // 4.2
        {0, -130, false, MoveLabel::Slack},      {0, -250, false, MoveLabel::Dubious},  // 5.4, 10.3
        {0, -500, false, MoveLabel::Dubious},  // 19.7
        {0, -520, false, MoveLabel::Mistake},    {1500, -1500, false, MoveLabel::Blunder},
        {1500, -1500, true, MoveLabel::None},    {-500, 500, false, MoveLabel::None},  // a gain
        {99999, -99999, false, MoveLabel::Blunder},
    };
    for (const auto& c : cases) {
        MoveVerdict v;
        v.scoreBefore = c.before;
        v.scoreAfter = c.after;
        v.engineBest = c.best;
        EXPECT_EQ(LabelOf(v), c.label) << c.before << " " << c.after;
        EXPECT_GE(WinRateLoss(v), 0);
    }
    SideTally tally;
    tally.add(MoveLabel::Mistake, 30);
    tally.add(MoveLabel::None, -5);  // a gain counts as no loss
    EXPECT_EQ(tally.labels[static_cast<std::size_t>(MoveLabel::Mistake)], 1);
    EXPECT_DOUBLE_EQ(tally.averageLoss(), 15);
}

// The block is ShogiHome's form; analysing again replaces it and keeps the
// user's own lines; what it says is read back as the analysed score.
TEST(MoveJudgement, TheCommentIsReplacedOnAnalysingAgainAndReadBack) {
    MoveVerdict v;
    v.senteScore = -158;
    v.line = "▲７六歩△３四歩";
    v.depth = 8;
    v.engine = "攻め";
    const std::string block = AnalysisComment(v, MoveLabel::Mistake);
    EXPECT_EQ(block, "【悪手】\n#評価値=-158\n#読み筋=▲７六歩△３四歩\n#深さ=8\n#エンジン=攻め");
    const std::string once = WithAnalysisComment("好手のつもり\n", block);
    EXPECT_EQ(once, "好手のつもり\n" + block);
    v.senteScore = 40;
    const std::string again = WithAnalysisComment(once, AnalysisComment(v, MoveLabel::None));
    EXPECT_EQ(again, "好手のつもり\n#評価値=40\n#読み筋=▲７六歩△３四歩\n#深さ=8\n#エンジン=攻め");
    EXPECT_EQ(ScoresInComment(again).analysed, 40);
    EXPECT_EQ(WithAnalysisComment("", "#評価値=1"), "#評価値=1");
}

TEST(CommentScores, ScoresOfOtherProgramsAreRead) {
    const struct {
        const char* comment;
        CommentScores scores;
    } cases[] = {
        {"互角\n#評価値=158\n#読み筋=▲７六歩", {std::nullopt, 158}},
        {"*評価値=-210\n*読み筋=△３四歩\n\n#評価値=+30", {-210, 30}},
        {"* 123 ▲2六歩 △8四歩", {123, std::nullopt}},
        {"*解析 0 ○ 時間 00:01.0 深さ 20/30 評価値 -45 読み筋 ▲7六歩", {std::nullopt, -45}},
        {"*検討 候補1 時間 00:06.0 深さ 27/43 評価値 12 読み筋 △８四歩", {std::nullopt, 12}},
        {"#詰み=後手勝ち:15手", {std::nullopt, -kCommentMateScore}},
        {"#評価値=99999999999999999999", {std::nullopt, kCommentMateScore}},
        {"#評価値=\n#評価値=7", {std::nullopt, 7}},
        {"ただのコメント\n*\n#評価値=abc\n* +-3", {}},
        {"#評価値=5\r\n#評価値=6", {std::nullopt, 5}},
    };
    for (const auto& c : cases) EXPECT_EQ(ScoresInComment(c.comment), c.scores) << c.comment;
    RecordNode node;
    node.comment = "* 10";
    node.hasScore = true;
    node.score = -20;
    EXPECT_EQ(ScoresOfNode(node).played, -20);  // the node's own score stands
}

}  // namespace
}  // namespace nusari
