// The think driver: decides the computer's reply in the current game
// position (the computer is the upper side and is to move).
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "aik/ui.h"

namespace nusari {

// The least time limit of a move: the computer always searches.
inline constexpr int32_t kMinTimeLimitMs = 100;

// On return (from, to) is a move of the upper side in the game frame, or
// from == 0 (the computer resigns), or from == 1 (the human left his king in
// check and loses). Writes progress and result texts into the thinking
// panel and pumps the window's messages after "現在思考中" and after every
// iteration.
// The limit is the setting, at least kMinTimeLimitMs and at most
// state.moveTimeCapMs when that is set (a game server's clock); the first
// iteration of the search always completes, so a move is never chosen
// unsearched (a book move aside).
void ThinkMove(EngineState& state, Ui& ui, int32_t& from, int32_t& to);

}  // namespace nusari
