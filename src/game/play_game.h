// Runs a game between two players to its end: each is told the start, asked
// in turn and polled for its answer until the deadline, and every answer
// goes to the referee. For front ends that may wait (the tools); the window
// drives its game from its own timer.
#pragma once

#include <cstdint>
#include <functional>

#include "game/game.h"
#include "game/player.h"

namespace nusari {

// The lower side's player first. `now` reads a clock in ms (injectable for tests).
const Outcome& playGame(Game& game, Player* players[2], const std::function<int64_t()>& now);
const Outcome& playGame(Game& game, Player* players[2]);

}  // namespace nusari
