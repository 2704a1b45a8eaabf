// Ranking a set of teacher positions already read, on several threads:
// the inner loop of the tuner and of the analysis benchmark.
#pragma once

#include <cstdint>
#include <vector>

#include "aik/engine_state.h"
#include "analysis/hit_stats.h"
#include "analysis/teacher_position.h"

namespace nusari {

// The positions, hits, misses and score of `engine` on `positions` (games
// stay 0). With more than one thread each works on its own copy of the
// engine's analysis parts; the counts do not depend on the threads.
HitStats RankTeacherPositions(const EngineState& engine, const std::vector<TeacherPosition>& positions,
                              int32_t threads);

}  // namespace nusari
