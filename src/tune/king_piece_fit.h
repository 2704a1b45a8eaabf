// The fit of the king-piece evaluation (think/king_piece_eval.h): its raw
// square and hand values and its king-relative tables fitted together to
// the targets of quiet positions by gradient descent (Adam) on the mean
// squared error of the logistic expectation, every number drawn back toward
// its value as loaded so that rare terms stay near it; and the engine file
// that carries the result.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "aik/aik_number.h"
#include "aik/engine_state.h"
#include "tune/fit_positions.h"

namespace nusari {

struct KingPieceFitSettings {
    int32_t epochs = 40;         // passes over the training positions
    int32_t batch = 1024;        // positions per step
    double rate = 0.5;           // the step, in the tables' units
    double pull = 2e-3;          // share of the distance to the loaded value taken back each step
    uint32_t seed = 1;           // the order of the positions
};

// Fits `engine`'s numbers (and marks its king-relative tables present) to
// the targets at `scale`; a line per epoch with the training error goes to
// `progress` (when given). Returns how many numbers it fitted.
int32_t FitKingPieceNumbers(EngineState& engine, const std::vector<FitPosition>& training, double scale,
                            const KingPieceFitSettings& settings, std::FILE* progress);

// The engine file `bytes` (whose numbers are `numbers`) with the fitted
// numbers of `engine`: its "set koma[" values and "set ou[" blocks rewritten
// in place, and the blocks it lacks written before the first "find koma["
// block (else at the end). False when the rewritten numbers do not read
// back as asked.
bool KingPieceFile(const std::string& path, const std::string& bytes, const std::vector<AikNumber>& numbers,
                   const EngineState& engine, std::string& out);

}  // namespace nusari
