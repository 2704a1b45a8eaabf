// Remote play over a serial line: a pseudo-terminal pair stands in for the
// cable, the test plays the remote program on its far end.
#include <algorithm>
#include <fstream>
#include <random>

#include "position/csa_notation.h"
#include "position/position.h"
#include "position/setup.h"
#include "pty_pair.h"
#include "remote/remote_texts.h"
#include "remote_test_support.h"

namespace nusari {
namespace {

using test::PtyPair;
using test::RemoteBoard;

class SerialLinkTest : public test::RemoteGameTest {
  protected:
    // Sends bytes and polls until something is handled or every byte is
    // read; the first result other than nothing.
    PollResult deliver(std::string_view bytes) {
        pty.write(bytes);
        for (int i = 0; i < 10000 && pty.waiting() > 0; ++i) {
            if (controller->gameState == GameState::NoGame) break;
            const PollResult r = poll();
            if (r != PollResult::Nothing) return r;
        }
        return PollResult::Nothing;
    }

    // A running remote game on a board with the two kings and `pieces`.
    void playOn(bool computerFirst, std::initializer_list<std::pair<int32_t, int32_t>> pieces) {
        startRemoteGame(pty.path(), computerFirst);
        ASSERT_EQ(controller->gameState, GameState::LowerToMove);
        pty.drain();
        setupPosition(board(), 0);
        board()[59] = kLowerKing;
        board()[51] = kUpperKing;
        for (const auto& [square, code] : pieces) board()[square] = code;
        ui.messages.clear();
        ui.sounds.clear();
    }

    // Plays a whole game against the remote program: the remote chooses
    // its moves from the legal ones, checks every line the computer sends
    // and finally resigns.
    void playWholeGame(bool computerFirst) {
        startRemoteGame(pty.path(), computerFirst);
        ASSERT_TRUE(link->isOpen());
        RemoteBoard remote;
        if (computerFirst) {
            ASSERT_TRUE(remote.play(pty.readLine()));
        }
        for (uint32_t k = 0; k < 24; ++k) {
            const std::string line = remote.choose(k * 7 + 3);
            ASSERT_FALSE(line.empty());
            ASSERT_EQ(deliver(line), PollResult::MovePlayed) << line;
            const std::string reply = pty.readLine();
            ASSERT_TRUE(remote.play(reply)) << reply;
            EXPECT_EQ(board(), remote.controllerView(computerFirst)) << "after " << reply;
            EXPECT_EQ(gameFields().plyCount, remote.ply);
            ASSERT_EQ(controller->gameState, GameState::LowerToMove);
        }
        EXPECT_EQ(ui.events.back(), "sound:1");
        EXPECT_EQ(ui.messages.size(), 0u);
        ASSERT_EQ(deliver("%TORYO\n"), PollResult::SpecialHandled);
        EXPECT_EQ(ui.messages.back(), "特殊コマンド：通信側の投了");
        EXPECT_EQ(controller->gameState, GameState::NoGame);
        EXPECT_FALSE(link->isOpen());
        EXPECT_EQ(controller->record->length, remote.ply);
        const std::vector<std::string> log = logLines();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find("\t2\t" + std::to_string(remote.ply)), std::string::npos) << log[0];
    }

    PtyPair pty;
};

TEST_F(SerialLinkTest, AWholeGameWithTheRemoteFirst) {
    playWholeGame(false);
}

TEST_F(SerialLinkTest, AWholeGameWithTheComputerFirst) {
    playWholeGame(true);
}

TEST_F(SerialLinkTest, ReceivedLinesLandInTheControllersFrame) {
    // The pawn line of the first player moves the remote's pawn up.
    startRemoteGame(pty.path(), false);
    replies = {Move{33, 34}};
    ASSERT_EQ(deliver("+7776FU\n"), PollResult::MovePlayed);
    EXPECT_EQ(board()[77], kEmpty);
    EXPECT_EQ(board()[76], kLowerPawn);
    EXPECT_EQ(pty.readLine(), "-3334FU\n");

    // The remote moves second: the same line is 33 to 34 of this board.
    controller->InterruptGame();
    playOn(true, {{33, kLowerGold}});
    ASSERT_EQ(deliver("+7776KI\n"), PollResult::MovePlayed);
    EXPECT_EQ(board()[33], kEmpty);
    EXPECT_EQ(board()[34], kLowerGold);

    // A drop from the remote's hand.
    controller->InterruptGame();
    playOn(false, {});
    board()[kLowerHandBase + kBishop] = 1;
    ASSERT_EQ(deliver("-0055KA\n"), PollResult::MovePlayed);
    EXPECT_EQ(board()[55], kLowerBishop);
    EXPECT_EQ(board()[kLowerHandBase + kBishop], 0);

    // The letters promote: a rook reaching 22 as a dragon.
    controller->InterruptGame();
    playOn(false, {{28, kLowerRook}});
    ASSERT_EQ(deliver("+2822RY\n"), PollResult::MovePlayed);
    EXPECT_EQ(board()[22], kLowerDragon);
    EXPECT_EQ(board()[28], kEmpty);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SerialLinkTest, TheComputersMovesAndEndsAreSent) {
    // A drop by the second player at ply 6.
    playOn(false, {{99, kLowerLance}});
    board()[kUpperHandBase + kPawn] = 1;
    gameFields().plyCount = 4;
    replies = {Move{kUpperHandBase + kPawn, 55}};
    ASSERT_EQ(deliver("+9998KY\n"), PollResult::MovePlayed);
    EXPECT_EQ(pty.readLine(), "-0055FU\n");

    // A promotion by the first player, on the turned board.
    controller->InterruptGame();
    playOn(true, {{17, kUpperSilver}, {99, kLowerLance}});
    gameFields().plyCount = 3;
    replies = {Move{17, 118}};
    ASSERT_EQ(deliver("+1112KY\n"), PollResult::MovePlayed);
    EXPECT_EQ(pty.readLine(), "+9392NG\n");

    // Resignation.
    replies = {Move::resign()};
    ASSERT_EQ(deliver("+1213KY\n"), PollResult::MovePlayed);
    EXPECT_EQ(pty.readLine(), "%TORYO\n");
    EXPECT_EQ(ui.messages.back(), "投了します");
}

TEST_F(SerialLinkTest, BadMoveLinesLeaveThePositionAsItWas) {
    playOn(false, {{28, kLowerRook}, {25, kLowerPawn}, {77, kLowerPawn}});
    const Position before = board();
    int refused = 0;
    for (const std::string line :
         {"+77x6FU\n", "+7776XX\n", "+7775FU\n", "+7776KI\n", "+0055KA\n", "+2822RY\n",
          "+2825HI\n", "+0000FU\n", "+5951OU\n", "+7776fu\n"}) {
        SCOPED_TRACE(line);
        ASSERT_EQ(deliver(line), PollResult::Malformed);
        // One box for the first, a count in the panel for every one.
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.panelText(), "受信エラー（" + std::to_string(++refused) +
                                      "件）：CSAプロトコル 通信エラー：" + line.substr(0, 7));
        EXPECT_EQ(ui.sounds, std::vector<Sound>{Sound::Message});
        EXPECT_EQ(board(), before);
        EXPECT_EQ(gameFields().plyCount, 0);
        EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    }
    EXPECT_EQ(thinks, 0);
}

TEST_F(SerialLinkTest, StrayBytesAndZeroBytesAreSkipped) {
    startRemoteGame(pty.path(), false);
    replies = {Move{33, 34}};
    EXPECT_EQ(deliver("\n\nxyz\x01\x7f\r\n"), PollResult::Nothing);
    EXPECT_EQ(deliver(std::string("+77\0\0" "76FU\n", 10)), PollResult::MovePlayed);
    EXPECT_EQ(board()[76], kLowerPawn);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SerialLinkTest, SpecialWordsActOnTheirFirstThreeLetters) {
    const test::EndCase cases[] = {
        {"%TORYO\n", "特殊コマンド：通信側の投了", "2"},
        {"%SENNICHITE\n", "特殊コマンド：通信側の千日手宣言", "-1"},
        {"%JISHOGI\n", "特殊コマンド：通信側の持将棋宣言", "-1"},
        {"%KACHI\n", "特殊コマンド：通信側の勝ち宣言", "1"},
        {"%HIKIWAKE\n", "特殊コマンド：通信側の引き分け宣言", "-1"},
        {"%CHUDAN\n", "特殊コマンド：通信側の中断", nullptr},
    };
    std::size_t logged = 0;
    for (const test::EndCase& c : cases) {
        SCOPED_TRACE(c.received);
        startRemoteGame(pty.path(), false);
        replies = {Move{33, 34}};
        ASSERT_EQ(deliver("+7776FU\n"), PollResult::MovePlayed);
        pty.drain();
        ui.sounds.clear();
        ASSERT_EQ(deliver(c.received), PollResult::SpecialHandled);
        expectEnded(c, logged);
    }
}

TEST_F(SerialLinkTest, TakeBackAndUnknownWordsKeepTheGame) {
    startRemoteGame(pty.path(), false);
    replies = {Move{33, 34}, Move{83, 84}};
    ASSERT_EQ(deliver("+7776FU\n"), PollResult::MovePlayed);
    ASSERT_EQ(deliver("+2726FU\n"), PollResult::MovePlayed);
    ASSERT_EQ(gameFields().plyCount, 4);

    ASSERT_EQ(deliver("%MATTA\n"), PollResult::SpecialHandled);
    EXPECT_EQ(ui.messages.back(), "特殊コマンド：通信側の待った");
    EXPECT_EQ(gameFields().plyCount, 2);
    EXPECT_EQ(board()[27], kLowerPawn);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);

    ASSERT_EQ(deliver("%XYZZY\n"), PollResult::UnknownSpecial);
    EXPECT_EQ(ui.messages.back(), "CSAプロトコル\n通信エラー：%XYZZY\n");
    // A long word: its tail is skipped, the next move plays in the same tick.
    replies = {Move{83, 84}};
    ASSERT_EQ(deliver("%ABCDEFGHIJ\n+2726FU\n"), PollResult::MovePlayed);
    EXPECT_NE(std::find(ui.panelHistory.begin(), ui.panelHistory.end(),
                        "受信エラー（2件）：CSAプロトコル 通信エラー：%ABCDEFG"),
              ui.panelHistory.end());
    EXPECT_EQ(gameFields().plyCount, 4);
}

TEST_F(SerialLinkTest, InAMatchTheRemotesResignationShowsNoMessage) {
    controller->renzoku = 2;
    startRemoteGame(pty.path(), false);
    replies = {Move{33, 34}};
    ASSERT_EQ(deliver("+7776FU\n"), PollResult::MovePlayed);
    ui.messages.clear();
    ASSERT_EQ(deliver("%TORYO\n"), PollResult::SpecialHandled);
    EXPECT_TRUE(ui.messages.empty());
    // The next game of the match runs on the same link.
    EXPECT_TRUE(link->isOpen());
    EXPECT_EQ(controller->renzoku, 1);
}

TEST_F(SerialLinkTest, MessagesWhileTheComputerThinks) {
    startRemoteGame(pty.path(), false);
    const Position before = board();
    controller->gameState = GameState::ComputerThinking;
    ASSERT_EQ(deliver("+7776FU\n"), PollResult::WhileThinking);
    EXPECT_EQ(ui.messages.back(), "現在思考中\n通信エラー：+7776FU\n");
    ASSERT_EQ(deliver("%TORYO\n"), PollResult::WhileThinking);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.panelText(), "受信エラー（2件）：現在思考中 通信エラー：%TORYO");
    EXPECT_EQ(ui.sounds, (std::vector<Sound>{Sound::Message, Sound::Message}));
    EXPECT_EQ(board(), before);
    controller->gameState = GameState::LowerToMove;

    // A move sent while the computer thinks is out of turn: it is refused
    // when the computer's move goes out, never played as the reply.
    controller->think = [this](EngineState&, const ThinkRequest&, ThinkObserver&) {
        EXPECT_EQ(ui.events.back(), "poll:0");
        pty.write("+2726FU\n");
        return Move{33, 34};
    };
    ASSERT_EQ(deliver("+7776FU\n"), PollResult::MovePlayed);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(ui.panelText(), "受信エラー（3件）：現在思考中 通信エラー：+2726FU");
    EXPECT_EQ(deliver(""), PollResult::Nothing);
    EXPECT_EQ(board()[27], kLowerPawn);
    EXPECT_EQ(controller->fields.plyCount, 2);
}

TEST_F(SerialLinkTest, AMessageCutShortIsReportedAfterTheReadTimeout) {
    startRemoteGame(pty.path(), false);
    const Position before = board();
    EXPECT_EQ(deliver("+77"), PollResult::Nothing);
    clockMs += 299;
    EXPECT_EQ(poll(), PollResult::Nothing);
    clockMs += 1;
    ASSERT_EQ(poll(), PollResult::Malformed);
    EXPECT_EQ(ui.messages.back(), "CSAプロトコル\n通信エラー：+77");
    EXPECT_EQ(board(), before);

    // A line of six bytes is short as well, and does not eat the next one.
    replies = {Move{33, 34}};
    EXPECT_EQ(deliver("+776FU\n"), PollResult::Malformed);
    EXPECT_EQ(deliver("+7776FU\n"), PollResult::MovePlayed);

    // A special word needs only its three letters.
    EXPECT_EQ(deliver("%TOR"), PollResult::Nothing);
    clockMs += 300;
    EXPECT_EQ(poll(), PollResult::SpecialHandled);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
}

TEST_F(SerialLinkTest, APortThatCannotBeOpenedStartsNoGame) {
    const std::string plainFile = (folder.path() / "not_a_tty").string();
    { std::ofstream(plainFile) << "x"; }
    for (const std::string port : {"COM0", "XYZ", "/nonexistent/ttyS0", plainFile.c_str()}) {
        SCOPED_TRACE(port);
        ui.messages.clear();
        startRemoteGame(port, false);
        EXPECT_EQ(ui.messages, std::vector<std::string>{"error\n  rs232c is not opened."});
        EXPECT_EQ(ui.sounds.back(), Sound::Message);
        EXPECT_FALSE(controller->page.linkChecked);
        EXPECT_EQ(controller->gameState, GameState::NoGame);
        EXPECT_FALSE(link->isOpen());
    }
}

// The remote's legal move as a line in the real game's coordinates.
std::string legalLine(const Position& controllerBoard, bool remoteIsSecond, uint32_t k) {
    MoveList list;
    generateLegalMoves(controllerBoard, Side::Lower, list);
    if (list.count == 0) return {};
    const Move m = list.moves[k % static_cast<uint32_t>(list.count)];
    if (!remoteIsSecond) return csaMoveText(controllerBoard, Side::Lower, m) + "\n";
    return csaMoveText(flipPosition(controllerBoard), Side::Upper, flipMove(m)) + "\n";
}

// Whether `after` is `before` with one legal move of the lower side made;
// the two time cells do not count.
bool followsByALegalMove(const Position& before, Position after) {
    MoveList list;
    generateLegalMoves(before, Side::Lower, list);
    for (const Move& m : list) {
        Position p = before;
        applyLowerMove(p, m);
        after[kLowerTimeCell] = p[kLowerTimeCell];
        after[kUpperTimeCell] = p[kUpperTimeCell];
        if (p == after) return true;
    }
    return false;
}

// Random bytes, with legal move lines among them, change the board only by
// legal moves and never make the link read past what arrived.
TEST_F(SerialLinkTest, RandomBytesNeverCorruptThePosition) {
    std::mt19937 random(20240611);
    const std::string alphabet = "+-%0123456789FUKIGIHIKAOURYTOUMNGNYNK\n\r\n";
    int moves = 0;
    for (int round = 0; round < 150; ++round) {
        if (controller->gameState == GameState::NoGame) startRemoteGame(pty.path(), round % 2 == 1);
        ASSERT_EQ(controller->gameState, GameState::LowerToMove);
        const bool remoteIsSecond = controller->record->humanIsSecond != 0;
        std::string bytes;
        const int n = 1 + static_cast<int>(random() % 24);
        for (int i = 0; i < n; ++i) {
            char c = random() % 3 == 0 ? static_cast<char>(random() % 256)
                                       : alphabet[random() % alphabet.size()];
            if (c == 0x11 || c == 0x13) c = '+';
            bytes += c;
        }
        if (random() % 3 == 0) {
            bytes.insert(random() % (bytes.size() + 1), legalLine(board(), remoteIsSecond, random()));
        }
        pty.write(bytes);
        auto pollOnce = [&] {
            const Position before = board();
            const int32_t ply = gameFields().plyCount;
            const PollResult r = poll();
            if (r == PollResult::MovePlayed) {
                ++moves;
                EXPECT_TRUE(followsByALegalMove(
                    before, controller->record->history[static_cast<std::size_t>(ply + 1)]));
            } else if (r != PollResult::SpecialHandled) {
                EXPECT_EQ(board(), before);
            }
        };
        for (int i = 0; i < 10000 && pty.waiting() > 0; ++i) {
            if (controller->gameState != GameState::LowerToMove) break;
            pollOnce();
        }
        clockMs += 300;
        pollOnce();
        pty.drain();
        EXPECT_NE(findKing(board(), Side::Lower), 0);
        EXPECT_NE(findKing(board(), Side::Upper), 0);
        for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
            if (!isSquare(s)) continue;
            EXPECT_TRUE(board()[s] == kEmpty || isValidPieceCode(board()[s])) << s;
        }
    }
    EXPECT_GT(moves, 10);
}

}  // namespace
}  // namespace nusari
