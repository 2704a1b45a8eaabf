// The human at the window as a player: the board's moves and the buttons'
// resignation, takeback and interruption are given to it as answers, which
// the game takes as it takes any player's.
#pragma once

#include <string>
#include <utility>

#include "game/answer_queue.h"
#include "game/player.h"

namespace nusari {

class HumanPlayer : public Player {
  public:
    // The window names the human itself (the new-game page's name box).
    std::string name() const override { return {}; }
    bool startGame(const Game& /*game*/, Side /*side*/, std::string& /*error*/) override {
        answers_.clear();
        return true;
    }
    void yourTurn(const Game& /*game*/) override {}
    std::optional<PlayerAnswer> poll(int64_t /*waitMs*/) override { return answers_.take(); }
    void gameOver(const Outcome& /*outcome*/, Side /*side*/) override { answers_.clear(); }

    // What the human did, to be taken by the next poll.
    void give(PlayerAnswer a) { answers_.push(std::move(a)); }

  private:
    AnswerQueue answers_;
};

}  // namespace nusari
