// The selective alpha-beta search below the root, the threat test and the
// root iteration. Negamax throughout: every position is seen from its side
// to move, which is always the upper side; a child is the flipped position
// with the move applied as a lower-side move.
//
// Inside the search cell 111 is the pass counter of the side to move and
// cell 119 the score bias added to every leaf value.
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "position/types.h"
#include "think/candidate.h"

namespace nusari {

// The clock is read once per this many evaluations.
inline constexpr int32_t kNodesPerClockCheck = 10000;
// EngineState::clockCheckBlock before the first reading of a think.
inline constexpr int32_t kClockNotRead = -1;

// A move that the book proposes to steer toward (誘導手).
struct InducedMoveKey {
    int32_t from = 0;
    int32_t to = 0;
};

// The value of `p` for its side to move: a leaf, stored or decided value, or
// the final alpha of the candidate loop; 0 when stopped by the clock. `p` is
// a scratch copy.
int32_t SearchPly(EngineState& state, Position p, int32_t depth, int32_t alpha, int32_t beta,
                  const PathTable& path);

// The value of the position after the side to move passes, from the side
// that did not pass (the caller negates it); 0 when the side to move is in
// check.
int32_t PassSearch(EngineState& state, const Position& p, int32_t depth, int32_t alpha,
                   int32_t beta, const PathTable& path);

// Candidate i becomes entry 0; entries 0..i-1 move down by one.
void MoveToFront(CandidateList& list, int32_t i);

// Removes candidate i from the first haba entries (the end marker fills the
// last one) and lowers i so that the caller looks at the same index again.
void DropCandidate(const EngineState& state, CandidateList& list, int32_t& i);

// One iteration of the iterative deepening over the root list. `best` was
// lowered by 100 before the call; induced moves 1..4 earn yudou_kati.
void SearchRoot(EngineState& state, const Position& root, CandidateList& list, int32_t iteration,
                int32_t& best, int32_t baseBias, const InducedMoveKey induced[4]);

// The child of `p` after the candidate move (from, to), with cells 111 and
// 119 set; `childPath` receives the child frame's destination first.
Position MakeChild(const Position& p, int32_t from, int32_t to, int32_t passCounter,
                   int32_t scoreBias, PathTable& childPath);

}  // namespace nusari
