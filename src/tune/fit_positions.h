// The positions of a logistic (Texel) fit: quiet positions of finished
// games with the game's result and, where the record has one, the score of
// the engine that played into the position (both from the side to move's
// view), and the error of an engine's static evaluation on them.
#pragma once

#include <cstdint>
#include <vector>

#include "aik/engine_state.h"
#include "records/record_tree.h"

namespace nusari {

struct FitPosition {
    Position position;  // the standard frame, time cells cleared
    Side toMove = Side::Lower;
    float result = 0.5f;  // 1 the side to move won, 0 it lost, 0.5 a draw
    bool hasTeacher = false;
    int32_t teacher = 0;  // the record's engine score, for the side to move
    float target = 0.5f;  // what the fit aims at (SetFitTargets)
};

// Appends the main line's positions from the tenth ply to the last of a game
// whose result the record tells (a resignation, mate, loss on time or by a
// foul, a declaration, or a draw); none for a record without one.
void AppendFitPositions(const RecordTree& record, std::vector<FitPosition>& out);

// The scale at which the teachers' scores fit the results best (0 when no
// position has one).
double TeacherScale(const std::vector<FitPosition>& positions);

// Each target: the result, or with a teacher's score the result and the
// score's expected result at `teacherScale` weighed by scoreWeightPercent
// (0: the result alone, 100: the score alone).
void SetFitTargets(std::vector<FitPosition>& positions, double teacherScale, int32_t scoreWeightPercent);

// Keeps the positions the engine's quiescence search finds quiet: not in
// check, and nothing to take or promote changes the static score.
void KeepQuietPositions(EngineState& engine, std::vector<FitPosition>& positions);

// The mean of (target - 1 / (1 + 10^(-score / scale)))^2 over the
// positions, each scored by the engine's static evaluation for its side
// to move; on `threads` threads, each with its own copy of the engine.
double FitError(const EngineState& engine, const std::vector<FitPosition>& positions, double scale,
                int32_t threads);

// The scale (50..4000) at which the engine's evaluation fits the results
// best: the one fixed while the tables are fitted.
double BestFitScale(const EngineState& engine, const std::vector<FitPosition>& positions, int32_t threads);

}  // namespace nusari
