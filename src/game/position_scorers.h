// The engines that score positions for an analysis: the .aik think and a
// USI engine, each given a fixed time a position.
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "analysis/record_annotation.h"
#include "usi/usi_engine.h"

namespace nusari {

// The .aik engine's search (its book left out by the caller: a book move
// has no score). The state must have its hash arrays; it is used by the
// scorer until the scorer goes.
PositionScorer AikScorer(EngineState& state, int32_t moveTimeMs);

// A started USI engine, asked "go movetime"; nothing when it does not
// answer in time or gives no score.
PositionScorer UsiScorer(UsiEngine& engine, int32_t moveTimeMs);

}  // namespace nusari
