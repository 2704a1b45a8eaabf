// A private engine for a worker thread of the analysis.
#pragma once

#include <memory>

#include "aik/engine_state.h"

namespace nusari {

// A new engine with the loaded profile, evaluation tables and neighbourhood
// rules of `source`: everything the ranking of candidate lists reads. The
// book, the hash arrays and the game fields are not copied.
std::unique_ptr<EngineState> CopyEngineForAnalysis(const EngineState& source);

// The engine's profile and tables overwritten with those of `source`.
void CopyAnalysisParts(const EngineState& source, EngineState& target);

}  // namespace nusari
