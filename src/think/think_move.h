// The think driver: decides the reply of the side to move in a position.
#pragma once

#include "aik/engine_state.h"
#include "think/think_observer.h"
#include "think/think_request.h"

namespace nusari {

// The move of request.toMove in the request's frame, Move::resign(), or
// Move::none() when the side not to move stands in check (there is nothing
// to think about: the referee ends such a game before asking). The observer
// hears of the start, every iteration and the end.
//
// The limit is the request's move time, at least kMinTimeLimitMs and at
// most its cap when one is set (a game server's clock); the first iteration
// of the search always completes, so a move is never chosen unsearched (a
// book move aside). In the CSA time mode the limit and the engine's depth
// (profile.hukasa) follow the mover's used time and stay in the engine:
// state.timeLimitMs, the time setting, takes the new limit.
Move ThinkMove(EngineState& state, const ThinkRequest& request, ThinkObserver& observer);

// The time limit and depth of the CSA time mode after `usedSeconds` of
// thinking.
struct CsaTimeBudget {
    int32_t limitMs = 0;
    int32_t hukasa = 0;
};
CsaTimeBudget csaTimeBudget(int32_t usedSeconds);

}  // namespace nusari
