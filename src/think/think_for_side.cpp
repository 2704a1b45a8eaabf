#include "think/think_for_side.h"

#include "position/position.h"
#include "think/clock.h"
#include "think/think_move.h"

namespace nusari {

Move ThinkForSide(EngineState& state, Ui& ui, const Position& p, Side side) {
    Position view = side == Side::Upper ? p : flipPosition(p);
    view[kLowerTimeCell] = 0;
    view[kUpperTimeCell] = 0;
    state.currentPosition = view;
    state.moveStartMs = nowMs();
    Move reply;
    ThinkMove(state, ui, reply.from, reply.to);
    if (reply.from < kFirstSquare) return reply;
    return side == Side::Upper ? reply : flipMove(reply);
}

}  // namespace nusari
