// The positions of a logistic (Texel) fit: quiet positions of finished
// games with the game's result from the side to move's view, and the error
// of an engine's static evaluation on them.
#pragma once

#include <cstdint>
#include <vector>

#include "aik/engine_state.h"
#include "records/game_record.h"

namespace nusari {

struct FitPosition {
    Position position;  // the standard frame, time cells cleared
    Side toMove = Side::Lower;
    float result = 0.5f;  // 1 the side to move won, 0 it lost, 0.5 a draw
};

// Appends the positions from the tenth ply to the last of a game whose
// result the record tells (a resignation, mate, loss on time or by a foul,
// a declaration, or a draw); none for a record without one.
void AppendFitPositions(const GameRecord& record, std::vector<FitPosition>& out);

// Keeps the positions the engine's quiescence search finds quiet: not in
// check, and nothing to take or promote changes the static score.
void KeepQuietPositions(EngineState& engine, std::vector<FitPosition>& positions);

// The mean of (result - 1 / (1 + 10^(-score / scale)))^2 over the
// positions, each scored by the engine's static evaluation for its side
// to move; on `threads` threads, each with its own copy of the engine.
double FitError(const EngineState& engine, const std::vector<FitPosition>& positions, double scale,
                int32_t threads);

// The scale (50..4000) at which the engine's evaluation fits the results
// best: the one fixed while the tables are fitted.
double BestFitScale(const EngineState& engine, const std::vector<FitPosition>& positions, int32_t threads);

}  // namespace nusari
