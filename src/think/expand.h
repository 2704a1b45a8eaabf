// Node expansion: generates the moves of the upper side, plays each one,
// has it scored by EvaluateMove and takes it back.
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "position/attack_map.h"
#include "position/types.h"
#include "think/candidate.h"
#include "think/progress.h"

namespace nusari {

// depth >= 1 (list mode): every legal move ends up in `result`, best first
// (at most haba of them); a mate ends the expansion. depth <= 0
// (quiescence mode): entry 0 receives the best score and move, quiet moves
// are filtered, and the expansion stops once entry 0 reaches the bound the
// caller wrote into result[1].score; the result is cached in the
// transposition table. `p` is unchanged on return.
void ExpandNode(EngineState& state, Position& p, int32_t depth, CandidateList& result,
                const PathTable& path);

// The expansion of a node whose side to move is in check: king moves,
// captures of the checker and interpositions.
void ExpandEvasions(EngineState& state, Position& p, int32_t depth, CandidateList& result,
                    const PathTable& path, const Progress& progress, const AttackMap& map,
                    const AttackBase& base);

// Prunes, plays, evaluates (with the promoting variant where there is a
// choice) and takes back one move of the upper side. `map` and `base` are
// the node's attacks before the move; the attacks after it follow from
// `base` when it is usable.
void TryMove(EngineState& state, Position& p, int32_t depth, const PathTable& path, int32_t to,
             int32_t from, CandidateList& result, const Progress& progress, const AttackMap& map,
             const AttackBase& base);

// Tries the drops of the upper side onto the empty square s.
void TryDrops(EngineState& state, Position& p, int32_t depth, const PathTable& path, int32_t s,
              CandidateList& result, const Progress& progress, const AttackMap& map,
              const AttackBase& base);

}  // namespace nusari
