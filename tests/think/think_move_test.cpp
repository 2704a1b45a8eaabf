#include "think/think_move.h"

#include <gtest/gtest.h>

#include "position/legal_moves.h"
#include "position/position.h"
#include "think/clock.h"
#include "think/search.h"
#include "think/think_texts.h"
#include "think_test_support.h"

namespace nusari {
namespace {

using test::blankEngine;
using test::board;

struct ThinkResult {
    int32_t from = -1;
    int32_t to = -1;
};

ThinkResult think(EngineState& state, test::FakeUi& ui, const Position& p) {
    state.currentPosition = p;
    state.moveStartMs = nowMs();
    ThinkResult r;
    ThinkMove(state, ui, r.from, r.to);
    return r;
}

test::EnginePtr searchingEngine(int32_t hukasa) {
    auto state = blankEngine(20);
    test::setStandardValues(*state);
    state->profile.hukasa = hukasa;
    state->profile.hitu_hukasa = 10;
    state->profile.oute_hukasa = 10;
    state->profile.sute_hukasa = 10;
    state->profile.doute_hukasa[0] = 10;
    state->profile.doute_hukasa[1] = 10;
    state->timeLimitMs = 1000000;
    return state;
}

TEST(ThinkMove, HumanLeftHisKingInCheckLosesAtOnce) {
    auto state = searchingEngine(20);
    test::FakeUi ui;
    const ThinkResult r = think(*state, ui, board({{59, kLowerKing}, {51, kUpperRook}, {11, kUpperKing}}));
    EXPECT_EQ(r.from, kLeftInCheckFrom);
    EXPECT_EQ(r.to, 0);
    EXPECT_TRUE(ui.panelHistory.empty());
}

TEST(ThinkMove, MateInOneIsPlayedAtOnce) {
    auto state = searchingEngine(20);
    test::FakeUi ui;
    // The lower king on 19 is boxed in; a gold dropped on 18, guarded by the
    // gold on 17, mates.
    Position p = board({{19, kLowerKing}, {28, kLowerKnight}, {29, kLowerLance}, {17, kUpperGold},
                        {51, kUpperKing}});
    p[kUpperHandBase + kGold] = 1;
    const ThinkResult r = think(*state, ui, p);
    EXPECT_EQ(r.from, kUpperHandBase + kGold);
    EXPECT_EQ(r.to, 18);
    EXPECT_EQ(ui.panelText(), kWonResultText);
}

TEST(ThinkMove, ASingleLegalMoveIsForcedAfterIterationTen) {
    auto state = searchingEngine(30);
    test::FakeUi ui;
    // The upper king on 11, checked by the lance on 15, can only go to 21:
    // 12 stays on the lance's line, 22 is covered by the silver on 33.
    const Position p = board({{11, kUpperKing}, {15, kLowerLance}, {33, kLowerSilver}, {99, kLowerKing}});
    MoveList legal;
    generateLegalMoves(p, Side::Upper, legal);
    ASSERT_EQ(legal.count, 1);
    const ThinkResult r = think(*state, ui, p);
    EXPECT_EQ(r.from, legal.moves[0].from);
    EXPECT_EQ(r.to, legal.moves[0].to);
    EXPECT_EQ(ui.panelText(), kForcedResultText);
    // Progress texts for iterations 0..10 came first.
    ASSERT_GE(ui.panelHistory.size(), 12u);
    EXPECT_NE(ui.panelHistory[ui.panelHistory.size() - 2].find(" 深さ = 10/30"), std::string::npos);
}

TEST(ThinkMove, NoLegalMoveResigns) {
    auto state = searchingEngine(20);
    test::FakeUi ui;
    // The upper king on 11 is mated by a lower gold on 12 guarded by a pawn.
    const ThinkResult r =
        think(*state, ui, board({{11, kUpperKing}, {12, kLowerGold}, {13, kLowerPawn}, {99, kLowerKing}}));
    EXPECT_EQ(r.from, kResignFrom);
    EXPECT_EQ(ui.panelText(), kLostResultText);
}

TEST(ThinkMove, SearchesToHukasaAndReportsEveryIteration) {
    auto state = searchingEngine(14);
    test::FakeUi ui;
    Position p;
    setupPosition(p, kPresetEven);
    const ThinkResult r = think(*state, ui, flipPosition(p));
    MoveList legal;
    generateLegalMoves(flipPosition(p), Side::Upper, legal);
    EXPECT_TRUE(legal.contains(Move{r.from, r.to}));
    ASSERT_EQ(ui.panelHistory.size(), 1u + 15u + 1u);  // 現在思考中, iterations 0..14, result
    EXPECT_EQ(ui.panelHistory[0], kThinkingText);
    EXPECT_NE(ui.panelHistory[1].find(" 深さ = 0/14\n"), std::string::npos);
    EXPECT_NE(ui.panelHistory[15].find(" 深さ = 14/14\n"), std::string::npos);
    const std::string& result = ui.panelHistory.back();
    EXPECT_EQ(result.rfind("思考結果\n\n 形勢 = ", 0), 0u);
    EXPECT_NE(result.find("\n 深さ = 14\n 誘導手 = 0>0\n 評価局面数 = "), std::string::npos);
    EXPECT_NE(result.find("\n\n\n選択誘導手のメッセージ\n\n"), std::string::npos);
    EXPECT_GE(ui.pumps, 16);
}

// Even with no time at all (a limit of 0, the clock already past it) the
// first iteration is searched and its best move played.
TEST(ThinkMove, NoTimeLeftStillSearchesTheFirstIteration) {
    auto state = searchingEngine(14);
    state->timeLimitMs = 0;
    test::FakeUi ui;
    Position p;
    setupPosition(p, kPresetEven);
    p = flipPosition(p);
    state->currentPosition = p;
    state->moveStartMs = nowMs() - 60000;
    ThinkResult r;
    ThinkMove(*state, ui, r.from, r.to);
    MoveList legal;
    generateLegalMoves(p, Side::Upper, legal);
    EXPECT_TRUE(legal.contains(Move{r.from, r.to}));
    EXPECT_GT(state->nodeCount, 0);
    EXPECT_EQ(state->timeLimitMs, 0);  // the setting itself is left alone
    const std::string& result = ui.panelHistory.back();
    EXPECT_NE(result.find("\n 深さ = 0\n"), std::string::npos) << result;
}

// zikan_wariai is the share of the limit in which a new iteration starts:
// at 1 % of a second, with 20 ms gone, only the first iteration runs.
TEST(ThinkMove, ZikanWariaiBoundsTheIterationsStarted) {
    for (const int32_t share : {1, 100}) {
        SCOPED_TRACE(share);
        auto state = searchingEngine(3);
        state->timeLimitMs = share == 1 ? 1000 : 1000000;
        state->profile.zikan_wariai = share;
        test::FakeUi ui;
        Position p;
        setupPosition(p, kPresetEven);
        state->currentPosition = flipPosition(p);
        state->moveStartMs = nowMs() - 20;
        ThinkResult r;
        ThinkMove(*state, ui, r.from, r.to);
        const std::string& result = ui.panelHistory.back();
        EXPECT_NE(result.find(share == 1 ? "\n 深さ = 0\n" : "\n 深さ = 3\n"), std::string::npos)
            << result;
    }
}

TEST(ThinkMove, CsaTimeModeFollowsTheTotalTimeUsed) {
    auto state = searchingEngine(5);
    test::FakeUi ui;
    Position history[3];
    history[2][kUpperTimeCell] = 1321;
    state->positionHistory = history;
    state->positionHistorySize = 3;
    state->plyCount = 2;
    state->csaTimeMode = 1;
    Position p;
    setupPosition(p, kPresetEven);
    think(*state, ui, p);
    EXPECT_EQ(state->timeLimitMs, 3000);
    EXPECT_EQ(state->profile.hukasa, 40);
    history[2][kUpperTimeCell] = 1000;
    state->profile.hukasa = 5;
    think(*state, ui, p);
    EXPECT_EQ(state->timeLimitMs, 30000);
    EXPECT_EQ(state->profile.hukasa, 80);
}

TEST(ThinkTexts, VerdictBoundaries) {
    EXPECT_STREQ(verdictOf(1001), " COM勝勢");
    EXPECT_STREQ(verdictOf(1000), " COM優勢");
    EXPECT_STREQ(verdictOf(501), " COM優勢");
    EXPECT_STREQ(verdictOf(500), " COM有利");
    EXPECT_STREQ(verdictOf(200), " 互角");
    EXPECT_STREQ(verdictOf(-200), " 互角");
    EXPECT_STREQ(verdictOf(-201), " COM不利");
    EXPECT_STREQ(verdictOf(-1000), " COM劣勢");
    EXPECT_STREQ(verdictOf(-1001), " COM敗勢");
}

TEST(ThinkTexts, ProgressAndResultLayout) {
    ThinkReport r;
    r.best = -35;
    r.iteration = 7;
    r.hukasa = 40;
    r.inducedFrom = 33;
    r.inducedTo = 34;
    r.nodeCount = 1234;
    r.progress = 6;
    r.bestFrom = 77;
    r.bestTo = 76;
    EXPECT_EQ(progressText(r),
              "現在思考中\n\n経過報告\n\n 形勢 = -35\n 深さ = 7/40\n 誘導手 = 33>34\n 評価局面数 = 1234"
              "\n 進行度 = 6\n\n 予想最善手 = 77>76");
    EXPECT_EQ(resultText(r, "msg"),
              "思考結果\n\n 形勢 = -35 互角\n 深さ = 7\n 誘導手 = 33>34\n 評価局面数 = 1234\n 進行度 = 6"
              "\n\n\n選択誘導手のメッセージ\n\nmsg");
    r.best = 99999;
    EXPECT_EQ(resultText(r, "").rfind("思考結果\n\n 形勢 = +∞ COM勝ち\n 誘導手 = ", 0), 0u);
}

TEST(SearchLists, MoveToFrontAndDropCandidate) {
    CandidateList l;
    for (int16_t i = 0; i < 4; ++i) l[i] = Candidate{100 - i, static_cast<int16_t>(11 + i), 12, -10};
    MoveToFront(l, 3);
    EXPECT_EQ(l[0].from, 14);
    EXPECT_EQ(l[1].from, 11);
    EXPECT_EQ(l[2].from, 12);
    EXPECT_EQ(l[3].from, 13);

    auto state = blankEngine(4);
    int32_t i = 3;
    DropCandidate(*state, l, i);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(l[3].from, kListEndFrom);
    EXPECT_EQ(l[3].score, kLossScore);
    i = 1;
    DropCandidate(*state, l, i);
    EXPECT_EQ(l[0].from, 14);
    EXPECT_EQ(l[1].from, 12);
    EXPECT_EQ(l[2].from, kListEndFrom);
}

TEST(SearchLists, MakeChildFlipsAndMovesAsTheLowerSide) {
    Position p;
    setupPosition(p, kPresetEven);
    p = flipPosition(p);  // the upper side to move: 3c-3d is (33, 34)
    PathTable path;
    const Position child = MakeChild(p, 33, 34, 5, -7, path);
    EXPECT_EQ(child[76], kLowerPawn);  // the pawn on 33 is the child's 77, moved to 76
    EXPECT_EQ(child[77], kEmpty);
    EXPECT_EQ(child[kLowerTimeCell], 5);
    EXPECT_EQ(child[kUpperTimeCell], -7);
    EXPECT_EQ(path[0], 76);
    // A drop from the upper hand becomes a drop from the lower hand.
    p[kUpperHandBase + kPawn] = 1;
    const Position drop = MakeChild(p, kUpperHandBase + kPawn, 55, 0, 0, path);
    EXPECT_EQ(drop[55], kLowerPawn);
    EXPECT_EQ(drop[kLowerHandBase + kPawn], 0);
}

TEST(SearchPly, AStoredListIsSearchedEvenAtDepthZero) {
    auto state = searchingEngine(20);
    Position p;
    setupPosition(p, kPresetEven);
    p = flipPosition(p);
    CandidateList stored = test::emptyList();
    stored[0] = Candidate{12345, 33, 34, -10};
    stored[1] = Candidate{kLossScore, kListEndFrom, kListEndFrom, 0};
    StorePosition(*state, p, stored);
    state->continueSearch = 1;
    state->moveStartMs = nowMs();
    state->nodeCount = 1;
    const int32_t v = SearchPly(*state, p, 0, -90000, 90000, PathTable{});
    EXPECT_NE(v, 12345);        // not the stored score as a leaf
    EXPECT_GT(state->nodeCount, 1);  // the child was searched
}

}  // namespace
}  // namespace nusari
