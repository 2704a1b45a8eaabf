// ThinkMove for either side of a position in any orientation, for front ends
// that keep one board (tools, engine protocols).
#pragma once

#include "aik/engine_state.h"
#include "aik/ui.h"
#include "position/types.h"

namespace nusari {

// Turns `p` so that `side` is the upper side, as the game controller does,
// runs ThinkMove from now on with the state's time limit, and turns the
// reply back into the frame of `p`. from == 0 means resignation.
Move ThinkForSide(EngineState& state, Ui& ui, const Position& p, Side side);

}  // namespace nusari
