// The link through which a remote program plays the lower side: the serial
// line, a CSA game server or a USI engine. It is a player: the game
// controller opens it at a game start, sends the computer's moves over it,
// and polls it on every tick of the poll timer while the remote is to move;
// what the remote said comes back as answers (a move, a takeback, the
// remote's verdict or interruption, a fault) for the controller and its
// referee to act on. The link itself changes nothing in the game.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "game/answer_queue.h"
#include "game/player.h"
#include "position/types.h"
#include "records/game_record.h"

namespace nusari {

class RemoteLink : public Player {
  public:
    // Opens the port named in the settings; 1 on success, -1 after the link
    // has shown its message.
    virtual int32_t OpenLink(const std::string& portName) = 0;
    virtual void CloseLink() = 0;
    // Sends a move of the upper side in the controller's frame, or
    // Move::resign(), the computer's resignation.
    virtual void SendMove(const Move& m) = 0;
    // Tells the remote that the game stops here (the human's foul).
    virtual void SendInterruption() = 0;
    // Reads what the remote sent and turns it into answers; called every
    // 20 ms while the remote is to move.
    virtual void PollLink() = 0;
    // The next answer read and not yet taken, oldest first.
    virtual std::optional<PlayerAnswer> takeAnswer() { return answers_.take(); }
    // The most the computer's next move may take by the remote's clock, with
    // `usedSeconds` of its own time gone; 0 when the remote sets none.
    virtual int32_t MoveTimeCapMs(int32_t /*usedSeconds*/) { return 0; }
    // Names the players of `record` as the remote did; leaves them when it
    // named none.
    virtual void NamePlayers(GameRecord& /*record*/) {}
    // True when the remote side decides fourfold repetition and perpetual
    // check itself (a game server): the window's referee then leaves them to it.
    virtual bool JudgesRepetition() const { return false; }
    // The game has ended (the link may stay open for the next game of a
    // match); `result` from the lower side's view: 1 wins, 2 loses, else
    // no winner.
    virtual void GameEnded(int32_t /*result*/) {}

    // As a player: the link is opened before the game (OpenLink) and reads
    // on its own, so the start and the turn need nothing more; a poll reads
    // and gives the first answer.
    std::string name() const override { return {}; }
    bool startGame(const Game& /*game*/, Side /*side*/, std::string& /*error*/) override { return true; }
    void yourTurn(const Game& /*game*/) override {}
    std::optional<PlayerAnswer> poll(int64_t /*waitMs*/) override {
        if (std::optional<PlayerAnswer> a = takeAnswer()) return a;
        PollLink();
        return takeAnswer();
    }

  protected:
    // Keeps an answer for the controller, in the order the remote gave them.
    void queueAnswer(PlayerAnswer a) { answers_.push(std::move(a)); }
    // A closed link or an ended game leaves nothing to take.
    void dropAnswers() { answers_.clear(); }

  private:
    AnswerQueue answers_;
};

}  // namespace nusari
