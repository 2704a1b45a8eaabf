// The answers a player has given and the caller has not taken yet, oldest
// first: for players whose answers come from outside (the remote's lines,
// the human's clicks) rather than from a think.
#pragma once

#include <deque>
#include <optional>
#include <utility>

#include "game/player.h"

namespace nusari {

class AnswerQueue {
  public:
    void push(PlayerAnswer a) { answers_.push_back(std::move(a)); }
    std::optional<PlayerAnswer> take() {
        if (answers_.empty()) return std::nullopt;
        PlayerAnswer a = std::move(answers_.front());
        answers_.pop_front();
        return a;
    }
    void clear() { answers_.clear(); }

  private:
    std::deque<PlayerAnswer> answers_;
};

}  // namespace nusari
