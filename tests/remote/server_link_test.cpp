// Remote play through a CSA game server: a small server on a loopback port
// inside the test logs the link in and relays the remote player's moves.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <thread>

#include "csa_server_fixture.h"
#include "position/csa_notation.h"
#include "position/position.h"
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
            const PollResult r = link->Poll();
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
    // fields, and every move of the computer comes back as an echo that
    // must be dropped. The remote resigns at the end.
    void playWholeGame(char computersTurn) {
        startServerGame(computersTurn);
        ASSERT_EQ(controller->gameState, GameState::LowerToMove);
        const bool computerFirst = computersTurn == '+';
        RemoteBoard remote;
        auto takeComputersMove = [&] {
            const std::string line = server.readLine();
            ASSERT_TRUE(remote.play(line)) << line;
            server.send(line.substr(0, 7) + ",T1\n");  // the echo
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
    // Lines of the wrong sign, special lines and other talk are dropped.
    server.send("-3334FU,T1\n%TORYO\n#RESIGN\n#JISHOGI\nsome talk\n\n+7776FU,T12\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::MovePlayed);
    EXPECT_EQ(board()[76], kLowerPawn);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(server.readLine(), "-3334FU\n");
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_TRUE(panelShowed("<---#RESIGN\n"));

    // A line of the right sign that is no legal move is refused.
    const Position before = board();
    server.send("+7775FU,T3\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::Malformed);
    EXPECT_EQ(ui.messages.back(), "CSAプロトコル\n通信エラー：7775FU,T3\n");
    EXPECT_EQ(board(), before);

    // While the computer thinks, a line is refused with its sign.
    controller->gameState = GameState::ComputerThinking;
    server.send("+2726FU\n");
    ASSERT_EQ(pollUntilHandled(), PollResult::WhileThinking);
    EXPECT_EQ(ui.messages.back(), "現在思考中\n通信エラー：+2726FU\n");
    EXPECT_EQ(board(), before);
}

TEST_F(ServerLinkTest, TheServersVerdictEndsTheGame) {
    const test::EndCase cases[] = {
        {"#TIME_UP\n#WIN\n", "サーバの通知：#WIN", "2"},
        {"#RESIGN\n#LOSE\n", "サーバの通知：#LOSE", "1"},
        {"#DRAW\n", "サーバの通知：#DRAW", "-1"},
        {"#SENNICHITE\n#DRAW\n", "サーバの通知：#SENNICHITE", "-1"},
        {"#MAX_MOVES\n#CENSORED\n", "サーバの通知：#MAX_MOVES", "-1"},
        {"#JISHOGI\n#LOSE\n", "サーバの通知：#LOSE", "1"},
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
    EXPECT_EQ(link->Poll(), PollResult::Nothing);
}

TEST_F(ServerLinkTest, AFailedLoginStartsNoGame) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        ui.messages.clear();
        startServerGame('-');
        EXPECT_EQ(ui.messages, std::vector<std::string>{"error\n  LAN is not opened."});
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
        server.send(bytes + "+SENTINEL\n-SENTINEL\n");
        for (int i = 0; i < 5000 && controller->gameState != GameState::NoGame; ++i) {
            const Position before = board();
            const PollResult r = link->Poll();
            if (r == PollResult::MovePlayed) {
                ++moves;
                server.readLine();
            } else if (r != PollResult::SpecialHandled) {
                EXPECT_EQ(board(), before);
            }
            if (!ui.messages.empty() && ui.messages.back().ends_with("SENTINEL\n")) break;
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
