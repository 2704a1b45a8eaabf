// An .aik engine as a player: it thinks on the caller's thread when asked
// (a front end that must not wait runs it on a worker) and answers at once.
#pragma once

#include <string>

#include "aik/engine_state.h"
#include "game/player.h"
#include "think/think_observer.h"

namespace nusari {

class AikPlayer : public Player {
  public:
    AikPlayer(EngineState& engine, ThinkObserver& observer) : engine_(engine), observer_(observer) {}

    std::string name() const override;
    bool startGame(const Game& game, Side side, std::string& error) override;
    void yourTurn(const Game& game) override;
    std::optional<PlayerAnswer> poll(int64_t waitMs) override;

  private:
    EngineState& engine_;
    ThinkObserver& observer_;
    std::optional<PlayerAnswer> answer_;
};

}  // namespace nusari
