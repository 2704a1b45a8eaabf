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

// The parts of ScoreMove's score, from the mover's (the upper side's) view.
enum class EvalTerm : int32_t {
    Check,          // a check the king cannot step out of
    OwnKingRoom,    // free squares beside each king
    TheirKingRoom,
    OwnKingZone,    // attacks on each king's zone, weighed by the danger maps
    TheirKingZone,
    OwnPieces,      // the working values of the pieces on the board
    TheirPieces,
    Attacks,        // pieces attacked and defended, the danger maps' squares, pawns about to promote
    Threats,        // the mover's most valuable piece en prise, the piece just moved
    OwnHand,        // the pieces in hand
    TheirHand,
    Pass,           // the passes of the line
    MoveBonus,      // a check, a recapture (oute_kati, doute_kati)
};
inline constexpr int32_t kEvalTermCount = 13;

struct EvalTerms {
    int32_t value[kEvalTermCount] = {};
    int32_t total = 0;  // the sum of the values
    bool legal = false;  // false: the move leaves its king attacked or mates by a pawn drop
    bool mate = false;   // a mate the scoring sees at once (no terms then)
};

// The second search's static evaluation of a position, for the side to
// move: the seed's move evaluation of the position from the side that moved
// into it (with the working tables blended for the position: its progress
// and the neighbourhood rules of its pieces), negated. That view knows the
// side to move is about to move: the pieces the mover left en prise count
// against the mover. `p` in either orientation; kWinScore when the side
// not to move stands in check (its king can be taken). An engine with
// king-relative tables ("set ou[") is scored by EvaluateKingPiece instead.
int32_t EvaluatePosition(EngineState& state, const Position& p, Side toMove);

// EvaluatePosition of `moverUp` (the side that moved into it as the upper
// side), with the working tables already blended for it.
int32_t EvaluateBlended(EngineState& state, const Position& moverUp);

// ScoreMove's score of `p` taken apart, with the working tables as they
// stand; nothing is recorded or counted.
EvalTerms ExplainMove(EngineState& state, const Position& p, const PathTable& path, int32_t to,
                      int32_t from);

}  // namespace nusari
