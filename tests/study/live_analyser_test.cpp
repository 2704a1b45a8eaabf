// 検討's analysers against the fake USI engine and a shipped .aik engine:
// lines for the position given, the number of lines changed live, a
// position taken only once the board rests, and engine faults reported.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <thread>

#include "position/legal_moves.h"
#include "position/position.h"
#include "position/sfen.h"
#include "study/analysers.h"
#include "study/study_texts.h"
#include "think/clock.h"

namespace nusari {
namespace {

Position startPosition() {
    Position p;
    Side toMove = Side::Lower;
    std::string error;
    EXPECT_TRUE(parseSfen(kStartSfen, p, toMove, error));
    return p;
}

EngineCommand fake(const std::string& word) {
    return EngineCommand{{"bash", NUSARI_FAKE_ENGINE, word}, {}, "fake"};
}

// Waits up to `ms` for a report that `done` accepts; the last report seen.
AnalyserReport waitFor(const LiveAnalyser& a, const std::function<bool(const AnalyserReport&)>& done,
                       int64_t ms = 10000) {
    const int64_t deadline = nowMs() + ms;
    AnalyserReport r = a.channel().report();
    while (!done(r) && nowMs() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        r = a.channel().report();
    }
    return r;
}

std::vector<std::string> usiWords(const CandidateLine& line, Side toMove) {
    std::vector<std::string> words;
    for (const Move& m : line.moves) {
        words.push_back(moveToUsi(m, toMove));
        toMove = opponentOf(toMove);
    }
    return words;
}

class Study : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_TRUE(LiveAnalyser::WaitForEnded(8000)); }
};

TEST_F(Study, AUsiEngineGivesTheLinesWantedForThePositionShown) {
    auto a = StartUsiAnalyser(fake("study"), 5000, 3);
    const Position start = startPosition();
    a->channel().analyse(start, Side::Lower);
    AnalyserReport r = waitFor(*a, [](const AnalyserReport& r) { return r.lines.size() == 3; });
    ASSERT_EQ(r.lines.size(), 3u) << r.error;
    EXPECT_EQ(r.name, "fake");
    EXPECT_EQ(usiWords(r.lines[0], Side::Lower), (std::vector<std::string>{"2g2f", "8c8d"}));
    EXPECT_EQ(r.lines[1].score, 40);
    EXPECT_EQ(r.lines[2].score, 10);
    EXPECT_EQ(r.depth, 10);
    EXPECT_EQ(r.seldepth, 14);
    EXPECT_EQ(r.nps, 50000);
    EXPECT_EQ(r.hashPermille, 7);

    // One line, then 後手 to move: the lines are read from that position.
    a->channel().setLineCount(1);
    Position after = start;
    Move m;
    ASSERT_TRUE(parseUsiMove("7g7f", Side::Lower, m));
    applyMove(after, Side::Lower, m);
    a->channel().analyse(after, Side::Upper);
    r = waitFor(*a, [](const AnalyserReport& r) { return r.toMove == Side::Upper && !r.lines.empty(); });
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(usiWords(r.lines[0], Side::Upper), (std::vector<std::string>{"8c8d", "2g2f"}));
}

TEST_F(Study, APositionIsTakenOnlyOnceTheBoardRests) {
    auto a = StartUsiAnalyser(fake("study"), 5000, 1);
    Position p = startPosition();
    waitFor(*a, [](const AnalyserReport& r) { return r.name == "fake"; });
    std::set<uint64_t> serials;
    Side mover = Side::Lower;
    // Five steps a few milliseconds apart, as the arrow keys go.
    for (const char* usi : {"7g7f", "3c3d", "2g2f", "8c8d", "2f2e"}) {
        Move m;
        ASSERT_TRUE(parseUsiMove(usi, mover, m));
        applyMove(p, mover, m);
        mover = opponentOf(mover);
        a->channel().analyse(p, mover);
        serials.insert(a->channel().report().serial);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const int64_t until = nowMs() + 600;
    while (nowMs() < until) {
        serials.insert(a->channel().report().serial);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(serials, (std::set<uint64_t>{0, 5}));
    EXPECT_EQ(a->channel().report().toMove, Side::Upper);
}

TEST_F(Study, EngineFaultsAreReportedAndEndTheAnalyser) {
    const struct {
        const char* word;
        const char* error;
        bool secondPosition;  // the fault shows when the engine is stopped
    } cases[] = {
        {"crash", kStudyEngineEnded, false},
        {"silent", kStudyEngineSilent, true},
        {"closeout", kStudyEngineEnded, false},
    };
    for (const auto& c : cases) {
        auto a = StartUsiAnalyser(fake(c.word), 5000, 1);
        Position p = startPosition();
        a->channel().analyse(p, Side::Lower);
        if (c.secondPosition) {
            waitFor(*a, [](const AnalyserReport& r) { return r.thinking; });
            a->channel().analyse(p, Side::Upper);
        }
        const AnalyserReport r = waitFor(*a, [](const AnalyserReport& r) { return !r.error.empty(); });
        EXPECT_EQ(r.error, c.error) << c.word;
    }
    auto missing = StartUsiAnalyser(EngineCommand{{"/nonexistent/engine"}, {}, ""}, 5000, 1);
    const AnalyserReport r = waitFor(*missing, [](const AnalyserReport& r) { return !r.error.empty(); });
    EXPECT_EQ(r.error.rfind(kStudyEngineFailed, 0), 0u) << r.error;
}

TEST_F(Study, GarbageFromTheEngineIsIgnored) {
    auto a = StartUsiAnalyser(fake("garbage"), 5000, 2);
    a->channel().analyse(startPosition(), Side::Lower);
    const AnalyserReport r = waitFor(*a, [](const AnalyserReport& r) { return r.serial == 1 && !r.thinking; });
    EXPECT_TRUE(r.error.empty()) << r.error;
    EXPECT_TRUE(r.lines.empty() || r.lines[0].moves.empty());
}

TEST_F(Study, AnAikEngineReportsItsBestMovesWithBoundsOnTheOthers) {
    auto a = StartAikAnalyser(std::string(NUSARI_DATA_DIR) + "/aik/攻め.aik", 40009, 3);
    const Position start = startPosition();
    a->channel().analyse(start, Side::Lower);
    AnalyserReport r = waitFor(*a, [](const AnalyserReport& r) { return r.lines.size() == 3 && r.depth >= 2; });
    ASSERT_EQ(r.lines.size(), 3u) << r.error;
    EXPECT_TRUE(r.aik);
    EXPECT_TRUE(r.thinking);
    EXPECT_GT(r.hashPermille, 0);
    EXPECT_LT(r.hashPermille, 1000);
    EXPECT_EQ(r.lines[0].bound, ScoreBound::Exact);
    EXPECT_EQ(r.lines[1].bound, ScoreBound::Upper);
    EXPECT_LE(r.lines[1].score, r.lines[0].score);
    for (const CandidateLine& line : r.lines) {
        ASSERT_FALSE(line.moves.empty());
        EXPECT_EQ(usiMoveLine(start, Side::Lower, usiWords(line, Side::Lower)).size(), line.moves.size());
    }
    // A new position stops the search and starts another.
    Position after = start;
    applyMove(after, Side::Lower, r.lines[0].moves[0]);
    a->channel().analyse(after, Side::Upper);
    r = waitFor(*a, [](const AnalyserReport& r) { return r.serial == 2 && !r.lines.empty(); });
    ASSERT_FALSE(r.lines.empty());
    EXPECT_TRUE(isLegalMove(after, Side::Upper, r.lines[0].moves.at(0)));
}

}  // namespace
}  // namespace nusari
