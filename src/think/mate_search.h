// A mate search over checks: can the side to move force mate within N plies,
// every one of its moves a check? Used for the engine's own mates and as a
// threat test of its candidate moves. Works on any position with the full
// legal-move generator, so the answer is exact within its limits (pawn-drop
// mates are not mates, every defence is tried).
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "aik/aik_profile.h"
#include "position/legal_moves.h"
#include "position/types.h"

namespace nusari {

// The longest mate searched for, in plies.
inline constexpr int32_t kMaxMatePlies = kMaxTumeHukasa;

class MateSearch {
public:
    // The search gives up (and finds nothing) after maxNodes positions or
    // when the millisecond clock passes deadlineMs (0: no deadline).
    MateSearch(int64_t maxNodes, int64_t deadlineMs);

    // True when `attacker`, to move in `p`, mates within maxPlies plies
    // (rounded down to an odd number); `first` is then the first move of
    // the shortest mate found.
    bool findMate(const Position& p, Side attacker, int32_t maxPlies, Move& first);

    // True once a limit stopped a search: a false answer then means unknown.
    bool gaveUp() const { return gaveUp_; }
    int64_t nodes() const { return nodes_; }

private:
    struct Bounds {
        int8_t provenWithin = 127;  // mates within this many plies
        int8_t refutedUpTo = -1;    // no mate within this many plies
    };

    bool attackerMates(Position& p, Side attacker, int32_t plies, int32_t level, Move* first);
    bool defenderIsMated(Position& p, Side defender, int32_t plies, int32_t level);
    bool outOfBudget();
    MoveList& listAt(int32_t level);

    int64_t maxNodes_;
    int64_t deadlineMs_;
    int64_t nodes_ = 0;
    bool gaveUp_ = false;
    std::vector<MoveList> lists_;
    std::unordered_map<uint64_t, Bounds> known_;
};

}  // namespace nusari
