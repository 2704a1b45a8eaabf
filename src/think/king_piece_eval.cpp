#include "think/king_piece_eval.h"

namespace nusari {

namespace {

template <typename State>
auto& numberAt(State& state, int32_t index) {
    if (index < kKingPieceFirstIndex) {
        return state.evalTables.table[index / kEvalTableSlots][index % kEvalTableSlots];
    }
    const int32_t at = index - kKingPieceFirstIndex;
    return state.kingPieceTables.value[at / kKingPieceSlots][at % kKingPieceSlots];
}

}  // namespace

int32_t& KingPieceNumber(EngineState& state, int32_t index) { return numberAt(state, index); }

int32_t KingPieceNumber(const EngineState& state, int32_t index) { return numberAt(state, index); }

int32_t EvaluateKingPiece(const EngineState& state, const Position& p, Side toMove) {
    int32_t lowerView = 0;
    ForEachKingPieceTerm(p, [&](int32_t index, int32_t sign) { lowerView += sign * KingPieceNumber(state, index); });
    return toMove == Side::Lower ? lowerView : -lowerView;
}

}  // namespace nusari
