// ThinkMove in its simplest form, for front ends that keep one board
// (tools, self-play, the game library): the engine's own time setting from
// now, no clocks.
#pragma once

#include "aik/engine_state.h"
#include "aik/ui.h"
#include "position/types.h"
#include "think/think_observer.h"

namespace nusari {

// The move of `side` in the frame of `p`, or Move::resign(), or
// Move::none() when the side not to move stands in check.
Move ThinkForSide(EngineState& state, ThinkObserver& observer, const Position& p, Side side);
// The same, showing the think in the thinking panel of `ui`.
Move ThinkForSide(EngineState& state, Ui& ui, const Position& p, Side side);

}  // namespace nusari
