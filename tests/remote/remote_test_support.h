// A game controller with the CSA link for the remote-play tests: the
// computer plays scripted or first-found legal moves, the link's clock is a
// number the test sets, and the Ui's message pump runs a hook (the window's
// event loop, where a test server answers the login). RemoteBoard is the
// remote program's own view of the game.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "position/legal_moves.h"
#include "remote/csa_link.h"
#include "ui/ui_test_support.h"

namespace nusari::test {

class PumpingUi : public FakeUi {
  public:
    std::function<void()> onPump;
    std::function<void()> onNotify;
    void pumpMessages() override {
        FakeUi::pumpMessages();
        if (onPump) onPump();
    }
    void notify(const std::string& text) override {
        if (onNotify) onNotify();
        FakeUi::notify(text);
    }
};

// The game as the remote program keeps it: the real board with the first
// player as the lower side, whatever the controller shows.
class RemoteBoard {
  public:
    RemoteBoard();
    Side toMove() const { return ply % 2 == 0 ? Side::Lower : Side::Upper; }
    // Plays a move line received from the computer; false when it is no
    // legal move of the side to move.
    bool play(std::string_view line);
    // Chooses, plays and returns the remote's next move line (the k-th
    // legal move, with its line feed); empty when there is none.
    std::string choose(uint32_t k);
    // The board the controller should show: turned when the remote moves second.
    Position controllerView(bool remoteIsSecond) const;

    Position board;
    int32_t ply = 0;
};

// A message or line from the remote that ends a game after two plies.
struct EndCase {
    const char* received;
    const char* message;  // shown to the user
    const char* logged;   // the result in the match log, or null for an interruption
};

class RemoteGameTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // Start-up, then a remote game on `port` from the even position.
    void startRemoteGame(const std::string& port, bool computerFirst);
    // One tick of the link: it reads, and the controller acts on its answers.
    PollResult poll() {
        const PollResult r = link->Poll();
        controller->TakeLinkAnswers();
        return r;
    }
    // The lines of the match log.
    std::vector<std::string> logLines() const;
    // The game of two plies has ended as `c` says, with the message sound
    // first; `logged` counts the log lines so far.
    void expectEnded(const EndCase& c, std::size_t& logged);
    EngineState& engine() { return *controller->engine; }
    GameFields& gameFields() { return controller->fields; }
    Position& board() { return controller->fields.currentPosition; }

    TempFolder folder;
    MemoryStore store;
    PumpingUi ui;
    std::unique_ptr<GameController> controller;
    std::unique_ptr<CsaLink> link;
    std::ostringstream traceOut;
    int64_t clockMs = 1000;
    // The computer's replies, front first; then the first legal move.
    std::deque<Move> replies;
    int thinks = 0;
    // What was true when the user was last told something: the match log's
    // lines and whether the link was open.
    std::size_t loggedAtNotify = 0;
    bool openAtNotify = false;
};

}  // namespace nusari::test
