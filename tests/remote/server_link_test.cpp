// Remote play through a CSA game server: a small server on a loopback port
// inside the test logs the link in and relays the remote player's moves.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <random>
#include <thread>

#include "csa_server_fixture.h"
#include "position/csa_notation.h"
#include "position/position.h"
#include "position/text_encoding.h"
#include "records/kif_writer.h"
#include "remote/line_assembler.h"
#include "remote/remote_texts.h"
#include "remote_test_support.h"

namespace nusari {
namespace {

using test::CsaServerFixture;
using test::EvenGameSummary;
using test::RemoteBoard;

// A loopback port that nobody listens on.
int32_t unusedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof at;
    ::bind(fd, reinterpret_cast<sockaddr*>(&at), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size);
    ::close(fd);
    return ntohs(at.sin_port);
}

class ServerLinkTest : public test::RemoteGameTest {
  protected:
    void SetUp() override {
        RemoteGameTest::SetUp();
        store.values["Lan/Port"] = std::to_string(server.port());
        ui.onPump = [this] { server.serve(); };
    }

    // A game on the server; the side comes from the summary's Your_Turn.
    void startServerGame(char turn) {
        server.summary = EvenGameSummary(turn);
        startRemoteGame("LAN", turn == '-');
    }

    // Polls until a line is handled; the server's bytes cross the loopback
    // in no time, the bound only keeps a broken test from hanging.
    PollResult pollUntilHandled() {
        for (int i = 0; i < 5000; ++i) {
            if (controller->gameState == GameState::NoGame) break;
            const PollResult r = poll();
            if (r != PollResult::Nothing) return r;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return PollResult::Nothing;
    }

    bool panelShowed(const std::string& text) const {
        return std::find(ui.panelHistory.begin(), ui.panelHistory.end(), text) !=
               ui.panelHistory.end();
    }

    // A whole game: the remote moves as the server relays them, with time
    // fields, and every move of the computer comes back from the server
    // (the fixture's echo) and only confirms it. The remote resigns at the end.
    void playWholeGame(char computersTurn) {
        startServerGame(computersTurn);
        ASSERT_EQ(controller->gameState, GameState::LowerToMove);
        const bool computerFirst = computersTurn == '+';
        RemoteBoard remote;
        auto takeComputersMove = [&] {
            const std::string line = server.readLine();
            ASSERT_TRUE(remote.play(line)) << line;
        };
        if (computerFirst) takeComputersMove();
        for (uint32_t k = 0; k < 20; ++k) {
            const std::string line = remote.choose(k * 5 + 1);
            ASSERT_FALSE(line.empty());
            server.send(line.substr(0, 7) + ",T12\n");
            ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed) << line;
            takeComputersMove();
            EXPECT_EQ(board(), remote.controllerView(computerFirst));
            EXPECT_EQ(ui.panelText().rfind(kSentMark, 0), 0u);
        }
        server.send("%TORYO,T3\n#RESIGN\n#WIN\n");
        ASSERT_EQ(pollUntilHandled(), PollResult::SpecialHandled);
        EXPECT_EQ(ui.messages.back(), "サーバの通知：#WIN");
        EXPECT_EQ(controller->gameState, GameState::NoGame);
        EXPECT_FALSE(link->isOpen());
        const std::vector<std::string> log = logLines();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find("\t2\t" + std::to_string(remote.ply)), std::string::npos) << log[0];
        EXPECT_EQ(server.received.find('\0'), std::string::npos);
    }

    CsaServerFixture server;
};

TEST_F(ServerLinkTest, TheLoginRunsInOrderWithItsTrace) {
    store.values["Lan/User"] = "taro";
    store.values["Lan/Password"] = "secret";
    startServerGame('-');
    ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(server.received, "LOGIN taro secret\nAGREE\n");
    EXPECT_TRUE(panelShowed("--->LOGIN taro secret\n"));
    EXPECT_TRUE(panelShowed("<---LOGIN:taro OK\n"));
    EXPECT_TRUE(panelShowed("<---Your_Turn:-\n"));
    EXPECT_TRUE(panelShowed("<---END Game_Summary\n"));
    EXPECT_TRUE(panelShowed("--->AGREE\n"));
    EXPECT_TRUE(panelShowed("<---START:20240611-test\n"));
    EXPECT_EQ(ui.panelText(), "対局開始");
    EXPECT_EQ(traceOut.str(), "teban=1\n今から対局開始。START:を待つ\n");
    EXPECT_GT(ui.pumps, 0);
    // Your_Turn:- gave the computer the second move, whatever the page said.
    EXPECT_FALSE(controller->page.computerFirst);
    EXPECT_EQ(controller->record->humanIsSecond, 0);
    EXPECT_EQ(thinks, 0);
}

TEST_F(ServerLinkTest, TheSummaryGivesTheComputerTheFirstMove) {
    replies = {Move{33, 34}};
    server.summary = EvenGameSummary('+');
    startRemoteGame("LAN", false);
    EXPECT_TRUE(controller->page.computerFirst);
    EXPECT_EQ(controller->record->humanIsSecond, 1);
    EXPECT_EQ(server.readLine(), "+7776FU\n");
    EXPECT_EQ(traceOut.str().rfind("teban=0\n", 0), 0u);
}

TEST_F(ServerLinkTest, AHostNameIsLookedUpAndTraced) {
    store.values["Lan/Host"] = "localhost";
    startServerGame('-');
    ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_NE(traceOut.str().find("公式名 = "), std::string::npos);
    EXPECT_NE(traceOut.str().find("IP = 127.0.0.1\n"), std::string::npos);
}

TEST_F(ServerLinkTest, AWholeGameWithTheRemoteFirst) {
    playWholeGame('-');
}

TEST_F(ServerLinkTest, AWholeGameWithTheComputerFirst) {
    playWholeGame('+');
}

TEST_F(ServerLinkTest, OnlyTheRemotesMovesArePlayed) {
    startServerGame('-');
    replies = {Move{33, 34}};
    // Special lines and other talk are dropped.
    server.send("%TORYO\n#RESIGN\n#JISHOGI\nsome talk\n\n+7776FU,T12\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    EXPECT_EQ(board()[76], kLowerPawn);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(server.readLine(), "-3334FU\n");
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_TRUE(panelShowed("<---#RESIGN\n"));

    // Refused lines: the first in a box, the others counted in the panel.
    const Position before = board();
    const struct {
        const char* sent;
        PollResult result;
        const char* panel;
    } refusals[] = {
        {"+7775FU,T3\n", PollResult::Malformed, "受信エラー（1件）：CSAプロトコル 通信エラー：7775FU,T3"},
        {"-2233KA\n", PollResult::OutOfTurn, "受信エラー（2件）：手番違いの指し手 通信エラー：-2233KA"},
        {"+2726FU\n", PollResult::WhileThinking, "受信エラー（3件）：現在思考中 通信エラー：+2726FU"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.sent);
        if (r.result == PollResult::WhileThinking) controller->gameState = GameState::ComputerThinking;
        server.send(r.sent);
        ASSERT_EQ(pollUntilHandled(), r.result);
        EXPECT_EQ(ui.panelText(), r.panel);
        EXPECT_EQ(board(), before);
    }
    EXPECT_EQ(ui.messages, std::vector<std::string>{"CSAプロトコル\n通信エラー：7775FU,T3\n"});
    EXPECT_NE(traceOut.str().find("受信拒否：手番違いの指し手 通信エラー：-2233KA\n"), std::string::npos);
}

// A flood of bad lines is one box, and the move after it is played in a
// few ticks.
TEST_F(ServerLinkTest, AThousandBadLinesGiveOneNotice) {
    startServerGame('-');
    std::string flood;
    for (int i = 0; i < 1000; ++i) flood += "+7775FU\n";
    server.send(flood + "+7776FU\n");
    int ticks = 0;
    PollResult r = PollResult::Nothing;
    for (int i = 0; i < 5000 && r != PollResult::MovePlayed; ++i) {
        r = poll();
        if (r != PollResult::Nothing) ++ticks;
    }
    ASSERT_EQ(r, PollResult::MovePlayed);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(link->refusedLines(), 1000);
    EXPECT_TRUE(panelShowed("受信エラー（1000件）：CSAプロトコル 通信エラー：7775FU"));
    EXPECT_TRUE(panelShowed("<---+7776FU\n受信エラー（1000件）"));
    EXPECT_EQ(board()[76], kLowerPawn);
    std::cout << "ticks that handled the flood and the move: " << ticks << "\n";
}

// A line far longer than any CSA line is dropped whole as one fault; the
// move after it is played.
TEST_F(ServerLinkTest, AnOverLongLineIsOneFault) {
    startServerGame('-');
    const std::string chunk(16 * 1024, 'x');
    int ticks = 0;
    for (int i = 0; i < 16; ++i) {  // 256 KiB, read as it comes
        server.send(chunk);
        if (poll() == PollResult::Nothing) ++ticks;
    }
    server.send("\n+7776FU\n");
    PollResult r = PollResult::Nothing;
    for (int i = 0; i < 5000 && r != PollResult::MovePlayed; ++i, ++ticks) r = poll();
    ASSERT_EQ(r, PollResult::MovePlayed);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"CSAプロトコル\n通信エラー：" +
                                                    std::string(kLineTooLong) +
                                                    std::to_string(kMaxServerLine) + "）"});
    EXPECT_EQ(link->refusedLines(), 1);
    std::cout << "ticks from the long line's start to the move: " << ticks << "\n";
}

// Moves the server sends while the computer thinks (one twice, one before
// the server has passed on the computer's reply) are refused and never
// played later: the client's plies stay the server's.
TEST_F(ServerLinkTest, AMoveSentOutOfTurnIsNeverPlayed) {
    startServerGame('-');
    controller->think = [this](EngineState&, const ThinkRequest&, ThinkObserver&) {
        server.send("+7776FU,T12\n+2726FU,T1\n");
        return Move{33, 34};
    };
    server.send("+7776FU,T12\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    EXPECT_EQ(server.readLine(), "-3334FU\n");  // the fixture sends it back
    ASSERT_EQ(pollUntilHandled(), PollResult::OutOfTurn);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(poll(), PollResult::Nothing);
    EXPECT_EQ(gameFields().plyCount, 2);
    EXPECT_EQ(board()[27], kLowerPawn);
    EXPECT_EQ(link->refusedLines(), 2);
    EXPECT_NE(traceOut.str().find("受信拒否：手番違いの指し手 通信エラー：+2726FU,T1\n"),
              std::string::npos);

    // The remote's real next move is played in turn.
    controller->think = [](EngineState&, const ThinkRequest&, ThinkObserver&) { return Move{83, 84}; };
    server.send("+2726FU,T3\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    EXPECT_EQ(server.readLine(), "-8384FU\n");
    EXPECT_EQ(gameFields().plyCount, 4);
    EXPECT_EQ(link->refusedLines(), 2);
}

// A server that has not passed on the computer's last move ended the game
// before it: the record ends without it, with the server's winner.
TEST_F(ServerLinkTest, TheRecordEndsAtTheServersLastPly) {
    startServerGame('-');
    replies = {Move{33, 34}};
    server.send("+7776FU,T1\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    // The verdict comes before the fixture has seen the computer's move.
    server.sendWithoutEcho("#TIME_UP\n#LOSE\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::SpecialHandled);
    EXPECT_EQ(controller->record->length, 1);
    EXPECT_EQ(controller->record->ending, GameEnding::TimeUp);
    EXPECT_NE(toUtf8(GameResultText(*controller->record)).find("まで1手で先手の勝ち"), std::string::npos);
    ASSERT_EQ(logLines().size(), 1u);
    EXPECT_NE(logLines()[0].find("\t1\t1"), std::string::npos) << logLines()[0];
}

TEST_F(ServerLinkTest, TheServersVerdictEndsTheGame) {
    const test::EndCase cases[] = {
        {"#TIME_UP\n#WIN\n", "サーバの通知：#WIN", "2"},
        {"#RESIGN\n#LOSE\n", "サーバの通知：#LOSE", "1"},
        {"#DRAW\n", "サーバの通知：#DRAW", "-1"},
        {"#SENNICHITE\n#DRAW\n", "サーバの通知：#SENNICHITE", "-1"},
        {"#MAX_MOVES\n#CENSORED\n", "サーバの通知：#MAX_MOVES", "-1"},
        {"#JISHOGI\n#LOSE\n", "サーバの通知：#LOSE", "1"},
        // The server's word decides: #LOSE is the computer's loss.
        {"%TORYO\n#RESIGN\n#LOSE\n", "サーバの通知：#LOSE", "1"},
        {"%TORYO\n#RESIGN\n#WIN\n", "サーバの通知：#WIN", "2"},
        {"#CENSORED\r\n", "サーバの通知：#CENSORED", "-1"},
        {"#CHUDAN\n", "サーバの通知：#CHUDAN", nullptr},
    };
    std::size_t logged = 0;
    for (const test::EndCase& c : cases) {
        SCOPED_TRACE(c.received);
        startServerGame('-');
        ASSERT_EQ(controller->gameState, GameState::LowerToMove);
        replies = {Move{33, 34}};
        server.send("+7776FU,T1\n");
        ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
        ui.sounds.clear();
        server.send(c.received);
        ASSERT_EQ(pollUntilHandled(), PollResult::SpecialHandled);
        expectEnded(c, logged);
    }
}

TEST_F(ServerLinkTest, InAMatchTheSecondLineOfAVerdictDoesNotEndTheNextGame) {
    controller->renzoku = 2;
    startServerGame('-');
    replies = {Move{33, 34}};
    server.send("+7776FU\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    server.readLine();
    ui.messages.clear();
    server.send("#SENNICHITE\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::SpecialHandled);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    ASSERT_EQ(controller->renzoku, 1);
    // The next game has begun (the computer first); the draw's result line
    // that follows belongs to the game that ended.
    server.readLine();
    server.send("#DRAW\n-3334FU\n");
    EXPECT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    EXPECT_EQ(logLines().size(), 1u);
}

TEST_F(ServerLinkTest, LinesGoOutWithAZeroByteOnlyWhenAsked) {
    store.values["Lan/SendNul"] = "1";
    replies = {Move{33, 34}};
    startServerGame('-');
    server.send("+7776FU\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    EXPECT_EQ(server.readLine(), "-3334FU\n");
    EXPECT_EQ(server.received, std::string("LOGIN Nusar Pelvo\n\0AGREE\n\0-3334FU\n\0", 35));
    EXPECT_TRUE(panelShowed("--->-3334FU\n"));
}

TEST_F(ServerLinkTest, TheServerClosingTheConnectionStopsTheGame) {
    startServerGame('-');
    replies = {Move{33, 34}};
    server.send("+7776FU\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    server.readLine();
    ui.events.clear();
    server.closeClient();
    ASSERT_EQ(pollUntilHandled(), PollResult::ConnectionLost);
    EXPECT_EQ(ui.panelHistory.back().rfind("<---recv() Err.", 0), 0u);
    EXPECT_EQ(ui.messages.back(), "通信エラー：\nサーバとの接続が切れました");
    EXPECT_EQ(ui.events.front(), "poll:0");
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_FALSE(link->isOpen());
    // The game stays to be replayed or saved; no result is logged.
    EXPECT_EQ(controller->record->length, 2);
    EXPECT_TRUE(logLines().empty());
    EXPECT_EQ(poll(), PollResult::Nothing);
}

TEST_F(ServerLinkTest, AFailedLoginStartsNoGame) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* message = kLanOpenError;
    };
    const Case cases[] = {
        {"no server", [this] { store.values["Lan/Port"] = std::to_string(unusedPort()); }},
        {"wrong password", [this] { server.loginReply = "LOGIN:incorrect"; }},
        {"rejected", [this] { server.agreeReply = "REJECT:20240611-test by second"; }},
        {"closed before the start",
         [this] {
             server.summary = {"Protocol_Version:1.2"};
             ui.onPump = [this] {
                 server.serve();
                 if (server.received.size() > 0) server.closeClient();
             };
         }},
        {"started before the summary",
         [this] { server.loginReply = "LOGIN:Nusar OK\nSTART:20240611-test"; }, kStartBeforeSummary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        ui.messages.clear();
        startServerGame('-');
        EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(ui.sounds.back(), Sound::Message);
        EXPECT_FALSE(controller->page.linkChecked);
        EXPECT_EQ(controller->gameState, GameState::NoGame);
        EXPECT_FALSE(link->isOpen());
        // The next case starts from a working server.
        store.values["Lan/Port"] = std::to_string(server.port());
        server.loginReply.clear();
        server.agreeReply = "START:20240611-test";
        ui.onPump = [this] { server.serve(); };
    }
}

// A server that sends without end during the login: the window is served
// every few lines, and closing it ends the login.
TEST_F(ServerLinkTest, AFloodDuringTheLoginKeepsTheWindowServed) {
    server.answerLogin = false;
    std::string flood;
    for (int i = 0; i < 1000; ++i) flood += "Name+:flood\n";
    int pumps = 0;
    std::size_t shownAtPump = 0;
    std::size_t mostBetweenPumps = 0;
    ui.onPump = [&] {
        server.serve();
        ++pumps;
        mostBetweenPumps = std::max(mostBetweenPumps, ui.panelHistory.size() - shownAtPump);
        if (pumps == 30) {
            EXPECT_TRUE(controller->CloseQuery());
            controller->ShutDown(0, 0);
        } else if (!server.received.empty()) {
            server.send(flood);
        }
        shownAtPump = ui.panelHistory.size();
    };
    startServerGame('-');
    EXPECT_EQ(pumps, 30);
    EXPECT_LE(mostBetweenPumps, static_cast<std::size_t>(kLoginLinesPerPump));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_FALSE(link->isOpen());
}

TEST_F(ServerLinkTest, TheWindowWorksWhileTheServerIsAwaited) {
    server.answerLogin = false;
    int pumps = 0;
    ui.onPump = [&] {
        server.serve();
        ++pumps;
        // A second Ok on the new-game page starts nothing.
        if (pumps == 3) controller->StartGame();
        // Closing the window ends the wait.
        if (pumps == 10) {
            EXPECT_TRUE(controller->CloseQuery());
            controller->ShutDown(0, 0);
        }
    };
    startServerGame('-');
    EXPECT_EQ(pumps, 10);
    EXPECT_EQ(server.received, "LOGIN Nusar Pelvo\n");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_FALSE(link->isOpen());
    EXPECT_EQ(thinks, 0);
}

// Random lines from the server change the board only by legal moves.
TEST_F(ServerLinkTest, RandomLinesNeverCorruptThePosition) {
    std::mt19937 random(99);
    const std::vector<std::string> pieces = {"+", "-", "#", "%", "WIN", "LOSE", "DRAW", "7776FU",
                                            "0055KA", "2822RY", ",T12", "\r", "\0", "CHUDAN",
                                            "SENNICHITE", "12", "99", "OU", "TO", " "};
    int moves = 0;
    for (int round = 0; round < 120; ++round) {
        if (controller->gameState == GameState::NoGame) startServerGame(round % 2 == 0 ? '-' : '+');
        ASSERT_EQ(controller->gameState, GameState::LowerToMove);
        std::string bytes;
        for (int line = 0, n = 1 + static_cast<int>(random() % 6); line < n; ++line) {
            for (int k = 0, m = static_cast<int>(random() % 6); k < m; ++k) {
                bytes += random() % 4 == 0 ? std::string(1, static_cast<char>(random() % 256))
                                           : pieces[random() % pieces.size()];
            }
            if (random() % 40 == 0) bytes += std::string(300, 'x');
            bytes += '\n';
        }
        if (random() % 2 == 0) {
            MoveList list;
            generateLegalMoves(board(), Side::Lower, list);
            if (list.count == 0) continue;
            const Move m = list.moves[random() % static_cast<uint32_t>(list.count)];
            const bool second = controller->record->humanIsSecond != 0;
            bytes += (second ? csaMoveText(flipPosition(board()), Side::Upper, flipMove(m))
                             : csaMoveText(board(), Side::Lower, m)) + ",T5\n";
        }
        const std::size_t tracedBefore = traceOut.str().size();
        server.send(bytes + "+SENTINEL\n-SENTINEL\n");
        for (int i = 0; i < 5000 && controller->gameState != GameState::NoGame; ++i) {
            const Position before = board();
            const PollResult r = poll();
            if (r == PollResult::MovePlayed) {
                ++moves;
                server.readLine();
            } else if (r != PollResult::SpecialHandled) {
                EXPECT_EQ(board(), before);
            }
            // Both sentinels are refused and traced, the second one last.
            if (traceOut.str().find("-SENTINEL\n", tracedBefore) != std::string::npos) break;
            if (r == PollResult::Nothing) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ui.messages.clear();
        EXPECT_NE(findKing(board(), Side::Lower), 0);
        EXPECT_NE(findKing(board(), Side::Upper), 0);
    }
    EXPECT_GT(moves, 20);
}

}  // namespace
}  // namespace nusari
