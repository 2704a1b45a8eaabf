// Scores the position after a move of the upper side and records the move.
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "position/attack_map.h"
#include "position/types.h"
#include "think/candidate.h"

namespace nusari {

// `p` already holds the move; `to` carries +100 for a promotion; from == 0
// and to == 0 score the pass. Rejects moves that leave the mover's king
// attacked and mates by a pawn drop, detects simple mates, and records the
// move in `result`: as the single best in quiescence mode (listLength 0),
// else in the sorted list of at most haba entries. Counts one node.
void EvaluateMove(EngineState& state, const Position& p, CandidateList& result,
                  const PathTable& path, int32_t to, int32_t from);

// EvaluateMove with the attack map of `p` already made (by buildAttackMap
// with both kings 0 beforehand, or by updateAttackMap).
void ScoreMove(EngineState& state, const Position& p, const AttackMap& map, CandidateList& result,
               const PathTable& path, int32_t to, int32_t from);

}  // namespace nusari
