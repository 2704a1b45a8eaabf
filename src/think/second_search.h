// The second search of .aik engines (tansaku=1): principal-variation search
// with whole-ply iterative deepening and aspiration windows over a board made
// and unmade in place, a transposition table keyed by Zobrist keys (buckets
// replaced by depth), a quiescence search of captures and promotions (and of
// every evasion when in check), move ordering by the table's move, captures
// by value, killers and history, and the referee's repetition rules. It
// scores nodes as EvaluatePosition does from the .aik tables, with the
// working tables kept up to date along the moves instead of rebuilt, and
// prunes: null move, futility and late-move pruning at the last plies,
// late-move reductions.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "aik/engine_state.h"
#include "think/think_observer.h"
#include "think/think_request.h"

namespace nusari {

// Slots of the second search's table per slot of the Hash setting.
inline constexpr int64_t kSearchSlotsPerEntry = 16;

// A mate found at ply n scores kSearchMate - n.
inline constexpr int32_t kSearchMate = 60000;

struct SecondSearchResult {
    Move move = Move::none();  // Move::resign() when every move loses
    int32_t score = 0;         // from the side to move
    int32_t depth = 0;         // whole plies of the last iteration completed
    int64_t nodes = 0;
};

// Searches `position` for `toMove` (either frame) until the depth of
// hukasa / 10 plies, the share zikan_wariai of the time limit, the limit
// itself or a stop. Each iteration is told to `observer` with its moves
// put through `out` (the caller's frame).
SecondSearchResult SecondSearch(EngineState& state, const Position& position, Side toMove,
                                int32_t limitMs, int64_t startMs, ThinkObserver& observer,
                                const ThinkSetting& setting, const std::function<Move(const Move&)>& out);

// The share (per mille) of the second search's table in use, sampled from
// its first 1000 slots as USI's hashfull is.
int32_t SearchTableUsePermille(const EngineState& state);

// A position as the second search's quiescence sees it, for the side to
// move: its static score and the quiescence score with the full window
// (equal when nothing to take or promote changes it); both 0 in check.
struct QuietScore {
    bool inCheck = false;
    int32_t evaluation = 0;
    int32_t quiescence = 0;
};

// The quiet scores of positions (each in either frame, with its side to
// move), with `state`'s tables.
std::vector<QuietScore> QuietScores(EngineState& state, const std::vector<std::pair<Position, Side>>& positions);

}  // namespace nusari
