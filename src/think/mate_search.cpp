#include "think/mate_search.h"

#include <algorithm>

#include "position/position.h"
#include "think/clock.h"

namespace nusari {

namespace {

// The deadline is checked once every this many positions, not at each one.
constexpr int64_t kMateNodesPerClockCheck = 256;

// The board and both hands (the search cells 111 and 119 left out), the
// side to move and whether it attacks.
uint64_t positionKey(const Position& p, Side toMove, bool attacking) {
    uint64_t h = 1469598103934665603ULL ^ (toMove == Side::Upper ? 0x9e3779b97f4a7c15ULL : 0);
    if (attacking) h ^= 0xc2b2ae3d27d4eb4fULL;
    for (int32_t i = kFirstSquare; i < kPositionCells; ++i) {
        if (i == kLowerTimeCell || i == kUpperTimeCell) continue;
        h = (h ^ static_cast<uint64_t>(static_cast<uint32_t>(p[i]))) * 1099511628211ULL;
    }
    return h ^ (h >> 29);
}

bool givesCheck(const Position& p, Side attacker, int32_t defenderKing) {
    return defenderKing != 0 && isSquareAttacked(p, defenderKing, attacker);
}

}  // namespace

// One move list per ply of the deepest search, made once: the lists are large.
MateSearch::MateSearch(int64_t maxNodes, int64_t deadlineMs)
    : maxNodes_(maxNodes), deadlineMs_(deadlineMs), lists_(kMaxMatePlies + 1) {}

MoveList& MateSearch::listAt(int32_t level) { return lists_[static_cast<size_t>(level)]; }

bool MateSearch::outOfBudget() {
    if (gaveUp_) return true;
    ++nodes_;
    const bool clockDue = deadlineMs_ > 0 && nodes_ % kMateNodesPerClockCheck == 0;
    if (nodes_ > maxNodes_ || (clockDue && nowMs() > deadlineMs_)) gaveUp_ = true;
    return gaveUp_;
}

bool MateSearch::findMate(const Position& p, Side attacker, int32_t maxPlies, Move& first) {
    gaveUp_ = false;
    if (findKing(p, opponentOf(attacker)) == 0) return false;
    Position scratch = p;
    // Shortest first: a mate in 1 is played rather than a longer one, and
    // the short searches are cheap.
    for (int32_t plies = 1; plies <= std::min(maxPlies, kMaxMatePlies); plies += 2) {
        if (attackerMates(scratch, attacker, plies, 0, &first)) return true;
        if (gaveUp_) return false;
    }
    return false;
}

bool MateSearch::attackerMates(Position& p, Side attacker, int32_t plies, int32_t level, Move* first) {
    if (outOfBudget()) return false;
    const uint64_t key = positionKey(p, attacker, true);
    if (first == nullptr) {
        const auto it = known_.find(key);
        if (it != known_.end()) {
            if (it->second.provenWithin <= plies) return true;
            if (it->second.refutedUpTo >= plies) return false;
        }
    }
    const Side defender = opponentOf(attacker);
    const int32_t king = findKing(p, defender);
    MoveList& moves = listAt(level);
    generateLegalMoves(p, attacker, moves);
    bool mates = false;
    for (int32_t i = 0; i < moves.count && !mates; ++i) {
        const Move m = moves.moves[i];
        const int32_t captured = applyMove(p, attacker, m);
        // A capture of the king cannot happen: the king is never left in check.
        if (givesCheck(p, attacker, king == destinationOf(m) ? 0 : king)) {
            mates = defenderIsMated(p, defender, plies - 1, level + 1);
            if (mates && first != nullptr) *first = m;
        }
        undoMove(p, attacker, m, captured);
        if (gaveUp_) return false;
    }
    Bounds& b = known_[key];
    if (mates) {
        b.provenWithin = static_cast<int8_t>(std::min<int32_t>(b.provenWithin, plies));
    } else {
        b.refutedUpTo = static_cast<int8_t>(std::max<int32_t>(b.refutedUpTo, plies));
    }
    return mates;
}

bool MateSearch::defenderIsMated(Position& p, Side defender, int32_t plies, int32_t level) {
    if (outOfBudget()) return false;
    MoveList& moves = listAt(level);
    generateLegalMoves(p, defender, moves);
    if (moves.count == 0) return true;
    if (plies <= 0) return false;
    // King moves first: they escape most often, and one escape is enough.
    const int32_t king = findKing(p, defender);
    std::stable_partition(moves.moves, moves.moves + moves.count,
                          [king](const Move& m) { return m.from == king; });
    const Side attacker = opponentOf(defender);
    for (int32_t i = 0; i < moves.count; ++i) {
        const Move m = moves.moves[i];
        const int32_t captured = applyMove(p, defender, m);
        const bool mated = attackerMates(p, attacker, plies - 1, level + 1, nullptr);
        undoMove(p, defender, m, captured);
        if (!mated) return false;
    }
    return true;
}

}  // namespace nusari
