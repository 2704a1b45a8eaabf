// Drives nusari-usi through pipes as a USI GUI would.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "usi/child_process.h"
#include "position/legal_moves.h"
#include "position/setup.h"
#include "position/sfen.h"

namespace nusari {
namespace {

using nusari::ChildProcess;

class UsiSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine.running());
        send("usi");
        ASSERT_TRUE(waitFor("usiok"));
        send("isready");
        ASSERT_TRUE(waitFor("readyok"));
    }

    void send(const std::string& line) { ASSERT_TRUE(engine.writeLine(line)); }

    // Reads until a line starts with `prefix`; the lines read are kept.
    bool waitFor(const std::string& prefix, int64_t timeoutMs = 30000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::string line;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (!engine.readLine(line, std::max<int64_t>(1, left))) return false;
            seen.push_back(line);
            if (line.rfind(prefix, 0) == 0) {
                last = line;
                return true;
            }
        }
        return false;
    }

    bool sawLineStarting(const std::string& prefix) const {
        for (const std::string& l : seen) {
            if (l.rfind(prefix, 0) == 0) return true;
        }
        return false;
    }

    // The move of the last "bestmove" line.
    std::string bestmove() const { return last.substr(9, last.find(' ', 9) - 9); }

    bool legalIn(const std::string& sfen, const std::string& usiMove) {
        Position p;
        Side side = Side::Lower;
        std::string error;
        Move m;
        return parseSfen(sfen, p, side, error) && parseUsiMove(usiMove, side, m) &&
               isLegalMove(p, side, m);
    }

    ChildProcess engine{{NUSARI_USI_PROGRAM}};
    std::vector<std::string> seen;
    std::string last;
};

TEST_F(UsiSession, HandshakeListsTheOptions) {
    EXPECT_TRUE(sawLineStarting("id name "));
    EXPECT_TRUE(sawLineStarting("option name AikFile type string default "));
    EXPECT_TRUE(sawLineStarting("option name USI_Hash type spin"));
    EXPECT_TRUE(sawLineStarting("option name RandomSeed type spin"));
    EXPECT_TRUE(sawLineStarting("option name CSATimeMode type check"));
}

TEST_F(UsiSession, AnswersEveryTimeControlWithALegalMove) {
    const std::string afterTwo =
        "lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 3";
    send("usinewgame");
    send("position startpos moves 7g7f 3c3d");
    send("go btime 10000 wtime 10000 byoyomi 300");
    ASSERT_TRUE(waitFor("bestmove"));
    EXPECT_TRUE(legalIn(afterTwo, bestmove())) << last;
    EXPECT_TRUE(sawLineStarting("info depth "));

    send("position sfen " + afterTwo);
    send("go movetime 300");
    ASSERT_TRUE(waitFor("bestmove"));
    EXPECT_TRUE(legalIn(afterTwo, bestmove())) << last;

    // White to move, with a Fischer clock.
    send("position startpos moves 7g7f");
    send("go btime 20000 wtime 20000 binc 100 winc 100");
    ASSERT_TRUE(waitFor("bestmove"));
    EXPECT_TRUE(legalIn("lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 2", bestmove()))
        << last;

    send("position startpos");
    send("go byoyomi 300");
    ASSERT_TRUE(waitFor("bestmove"));
    EXPECT_TRUE(legalIn(std::string(kStartSfen), bestmove())) << last;
}

TEST_F(UsiSession, StopEndsAnInfiniteSearch) {
    send("position startpos moves 2g2f 8c8d");
    send("go infinite");
    ASSERT_FALSE(waitFor("bestmove", 300));  // no answer before "stop"
    send("stop");
    ASSERT_TRUE(waitFor("bestmove", 5000));
    EXPECT_NE(bestmove(), "resign");
}

TEST_F(UsiSession, IllegalMovesAndBadCommandsAreReportedNotFatal) {
    send("position startpos moves 7g7f 3c3d");
    send("position startpos moves 7g7f 7g7e");  // the pawn has moved already
    ASSERT_TRUE(waitFor("info string illegal move 7g7e"));
    send("position sfen not/a/board b - 1");
    ASSERT_TRUE(waitFor("info string bad position"));
    send("frobnicate 1 2 3");
    ASSERT_TRUE(waitFor("info string unknown command"));
    send("setoption name USI_Hash value lots");
    ASSERT_TRUE(waitFor("info string ignored option"));
    send("go movetime banana");
    ASSERT_TRUE(waitFor("bestmove"));
    // The illegal line left the position of the last good one.
    EXPECT_TRUE(legalIn("lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 3",
                        bestmove()))
        << last;
    send("");
    send(std::string(5000, 'x'));
    send("isready");
    ASSERT_TRUE(waitFor("readyok"));
}

TEST_F(UsiSession, QuitEndsTheProcessEvenDuringASearch) {
    send("position startpos");
    send("go infinite");
    send("quit");
    EXPECT_EQ(engine.finish(10000), 0);
}

}  // namespace
}  // namespace nusari
