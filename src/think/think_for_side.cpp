#include "think/think_for_side.h"

#include "think/clock.h"
#include "think/panel_observer.h"
#include "think/think_move.h"

namespace nusari {

Move ThinkForSide(EngineState& state, ThinkObserver& observer, const Position& p, Side side) {
    ThinkRequest request;
    request.position = p;
    request.toMove = side;
    request.limits.moveTimeMs = state.timeLimitMs;
    request.limits.startMs = nowMs();
    return ThinkMove(state, request, observer);
}

Move ThinkForSide(EngineState& state, Ui& ui, const Position& p, Side side) {
    PanelObserver panel(ui, side);
    return ThinkForSide(state, panel, p, side);
}

}  // namespace nusari
