// The think driver: decides the computer's reply in the current game
// position (the computer is the upper side and is to move).
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "aik/ui.h"

namespace nusari {

// On return (from, to) is a move of the upper side in the game frame, or
// from == 0 (the computer resigns), or from == 1 (the human left his king in
// check and loses). Writes progress and result texts into the thinking
// panel and pumps the window's messages after "現在思考中" and after every
// iteration.
void ThinkMove(EngineState& state, Ui& ui, int32_t& from, int32_t& to);

}  // namespace nusari
