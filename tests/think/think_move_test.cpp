#include "think/think_move.h"

#include <gtest/gtest.h>

#include <vector>

#include "position/legal_moves.h"
#include "position/position.h"
#include "think/clock.h"
#include "think/panel_observer.h"
#include "think/search.h"
#include "think/think_texts.h"
#include "think_test_support.h"

namespace nusari {
namespace {

using test::blankEngine;
using test::board;

// A request for the upper side of `p` with the engine's time setting, its
// clock started now.
ThinkRequest requestFor(const EngineState& state, const Position& p, Side toMove = Side::Upper) {
    ThinkRequest request;
    request.position = p;
    request.toMove = toMove;
    request.limits.moveTimeMs = state.timeLimitMs;
    request.limits.startMs = nowMs();
    return request;
}

Move think(EngineState& state, test::FakeUi& ui, const ThinkRequest& request) {
    PanelObserver panel(ui, request.toMove);
    return ThinkMove(state, request, panel);
}

Move think(EngineState& state, test::FakeUi& ui, const Position& p) {
    return think(state, ui, requestFor(state, p));
}

// Keeps everything a think tells.
struct RecordingObserver : ThinkObserver {
    int32_t starts = 0;
    std::vector<ThinkIteration> iterations;
    std::vector<ThinkResult> results;
    void onStart() override { ++starts; }
    void onIteration(const ThinkIteration& it) override { iterations.push_back(it); }
    void onResult(const ThinkResult& r) override { results.push_back(r); }
};

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

TEST(ThinkMove, MateInOneIsPlayedAtOnce) {
    auto state = searchingEngine(20);
    test::FakeUi ui;
    // The lower king on 19 is boxed in; a gold dropped on 18, guarded by the
    // gold on 17, mates.
    Position p = board({{19, kLowerKing}, {28, kLowerKnight}, {29, kLowerLance}, {17, kUpperGold},
                        {51, kUpperKing}});
    p[kUpperHandBase + kGold] = 1;
    const Move r = think(*state, ui, p);
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
    const Move r = think(*state, ui, p);
    EXPECT_EQ(r, legal.moves[0]);
    EXPECT_EQ(ui.panelText(), kForcedResultText);
    // Progress texts for iterations 0..10 came first.
    ASSERT_GE(ui.panelHistory.size(), 12u);
    EXPECT_NE(ui.panelHistory[ui.panelHistory.size() - 2].find(" 深さ = 10/30"), std::string::npos);
}

TEST(ThinkMove, NoLegalMoveResigns) {
    auto state = searchingEngine(20);
    test::FakeUi ui;
    // The upper king on 11 is mated by a lower gold on 12 guarded by a pawn.
    const Move r =
        think(*state, ui, board({{11, kUpperKing}, {12, kLowerGold}, {13, kLowerPawn}, {99, kLowerKing}}));
    EXPECT_TRUE(r.isResign());
    EXPECT_EQ(ui.panelText(), kLostResultText);
}

TEST(ThinkMove, SearchesToHukasaAndReportsEveryIteration) {
    auto state = searchingEngine(14);
    test::FakeUi ui;
    Position p;
    setupPosition(p, kPresetEven);
    const Move r = think(*state, ui, flipPosition(p));
    MoveList legal;
    generateLegalMoves(flipPosition(p), Side::Upper, legal);
    EXPECT_TRUE(legal.contains(r));
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
    ThinkRequest request = requestFor(*state, p);
    request.limits.startMs = nowMs() - 60000;
    const Move r = think(*state, ui, request);
    MoveList legal;
    generateLegalMoves(p, Side::Upper, legal);
    EXPECT_TRUE(legal.contains(r));
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
        ThinkRequest request = requestFor(*state, flipPosition(p));
        request.limits.startMs = nowMs() - 20;
        think(*state, ui, request);
        const std::string& result = ui.panelHistory.back();
        EXPECT_NE(result.find(share == 1 ? "\n 深さ = 0\n" : "\n 深さ = 3\n"), std::string::npos)
            << result;
    }
}

TEST(ThinkMove, CsaTimeModeFollowsTheTotalTimeUsed) {
    auto state = searchingEngine(5);
    test::FakeUi ui;
    Position p;
    setupPosition(p, kPresetEven);
    ThinkRequest request = requestFor(*state, p);
    request.limits.csaTimeMode = true;
    request.clockOf(Side::Upper).usedSeconds = 1321;
    request.clockOf(Side::Lower).usedSeconds = 5000;  // the other side's time counts not
    think(*state, ui, request);
    EXPECT_EQ(state->timeLimitMs, 3000);
    EXPECT_EQ(state->profile.hukasa, 40);
    request.clockOf(Side::Upper).usedSeconds = 1000;
    state->profile.hukasa = 5;
    think(*state, ui, request);
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
    const ThinkSetting setting{40, Move{33, 34}, 6};
    ThinkIteration it;
    it.score = -35;
    it.depth = 7;
    it.nodes = 1234;
    it.best = Move{77, 76};
    it.setting = setting;
    EXPECT_EQ(progressText(it),
              "現在思考中\n\n経過報告\n\n 形勢 = -35\n 深さ = 7/40\n 誘導手 = 33>34\n 評価局面数 = 1234"
              "\n 進行度 = 6\n\n 予想最善手 = 77>76");
    ThinkResult r;
    r.score = -35;
    r.depth = 7;
    r.nodes = 1234;
    r.setting = setting;
    r.message = "msg";
    EXPECT_EQ(resultText(r),
              "思考結果\n\n 形勢 = -35 互角\n 深さ = 7\n 誘導手 = 33>34\n 評価局面数 = 1234\n 進行度 = 6"
              "\n\n\n選択誘導手のメッセージ\n\nmsg");
    r.score = kWinScore;
    r.message.clear();
    EXPECT_EQ(resultText(r).rfind("思考結果\n\n 形勢 = +∞ COM勝ち\n 誘導手 = ", 0), 0u);
    r.end = ThinkEnd::Book;
    r.message = "msg";
    EXPECT_EQ(resultText(r), std::string(kBookResultText) + "msg");
}

// The observer hears one start, iterations 0..hukasa each with its best
// line (a legal line from the position asked, in its frame, led by the move
// the panel shows) and one result: for either side to move.
TEST(ThinkMove, TheObserverHearsEveryIterationInTheRequestsFrame) {
    for (const Side side : {Side::Upper, Side::Lower}) {
        SCOPED_TRACE(side == Side::Upper ? "upper" : "lower");
        auto state = searchingEngine(14);
        Position p;
        setupPosition(p, kPresetEven);
        RecordingObserver seen;
        const Move reply = ThinkMove(*state, requestFor(*state, p, side), seen);
        EXPECT_EQ(seen.starts, 1);
        ASSERT_EQ(seen.iterations.size(), 15u);
        for (size_t i = 0; i < seen.iterations.size(); ++i) {
            const ThinkIteration& it = seen.iterations[i];
            EXPECT_EQ(it.depth, static_cast<int32_t>(i));
            EXPECT_EQ(it.setting.maxDepth, 14);
            EXPECT_GT(it.nodes, 0);
            if (!it.best.isMove()) continue;
            ASSERT_GE(it.line.count, 1);
            EXPECT_EQ(it.line.first(), it.best);
            Position q = p;
            Side mover = side;
            for (const Move& m : it.line) {
                ASSERT_TRUE(isLegalMove(q, mover, m)) << m.from << ">" << m.to;
                applyMove(q, mover, m);
                mover = opponentOf(mover);
            }
        }
        ASSERT_EQ(seen.results.size(), 1u);
        EXPECT_EQ(seen.results[0].end, ThinkEnd::Searched);
        EXPECT_EQ(seen.results[0].move, reply);
        EXPECT_EQ(seen.results[0].depth, 14);
        MoveList legal;
        generateLegalMoves(p, side, legal);
        EXPECT_TRUE(legal.contains(reply));
    }
}

// Resigning and the root verdicts come back as named values and endings.
TEST(ThinkMove, EndingsAreNamed) {
    struct Case {
        const char* name;
        Position position;
        ThinkEnd end;
        bool resigns;
    };
    Position mate = board({{19, kLowerKing}, {28, kLowerKnight}, {29, kLowerLance}, {17, kUpperGold},
                           {51, kUpperKing}});
    mate[kUpperHandBase + kGold] = 1;
    const Case cases[] = {
        {"mated", board({{11, kUpperKing}, {12, kLowerGold}, {13, kLowerPawn}, {99, kLowerKing}}),
         ThinkEnd::Lost, true},
        {"mates", mate, ThinkEnd::Won, false},
        // The referee ends such a game; the engine, asked anyway, thinks not.
        {"foul", board({{59, kLowerKing}, {51, kUpperRook}, {11, kUpperKing}}), ThinkEnd::NoThink, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto state = searchingEngine(20);
        RecordingObserver seen;
        const Move reply = ThinkMove(*state, requestFor(*state, c.position), seen);
        ASSERT_EQ(seen.results.size(), 1u);
        EXPECT_EQ(seen.results[0].end, c.end);
        EXPECT_EQ(reply.isResign(), c.resigns);
        EXPECT_EQ(seen.results[0].move, reply);
        EXPECT_EQ(reply.isNone(), c.end == ThinkEnd::NoThink);
        EXPECT_TRUE(seen.iterations.empty());
    }
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
    state->searchStartMs = nowMs();
    state->nodeCount = 1;
    const int32_t v = SearchPly(*state, p, 0, -90000, 90000, PathTable{});
    EXPECT_NE(v, 12345);        // not the stored score as a leaf
    EXPECT_GT(state->nodeCount, 1);  // the child was searched
}

}  // namespace
}  // namespace nusari
