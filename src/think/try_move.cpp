#include "think/expand.h"
#include "think/evaluate.h"

namespace nusari {

namespace {

inline const int32_t* working(const EngineState& s, int32_t code) {
    return s.evalTables.table[code + kWorkingTableOffset];
}
inline const int32_t* raw(const EngineState& s, int32_t code) { return s.evalTables.table[code]; }

// Quiescence filter of a board move: quiet moves must go somewhere better and
// unattacked, captures must not lose material to a recapture.
bool prunedQuietBoardMove(const EngineState& state, const Position& p, const AttackMap& map,
                          int32_t from, int32_t to) {
    const int32_t* L = map.lowerCount;
    const int32_t* W = working(state, p[from]);
    const int32_t target = p[to];
    if (target == kEmpty) {
        return p[to + 1] == kLowerPawn || L[to] > 0 || W[from] >= W[to];
    }
    return L[to] > 0 && isValidPieceCode(target) && W[from] >= working(state, target)[to];
}

bool prunedQuietDrop(const Position& p, const AttackMap& map, int32_t from, int32_t to) {
    const int32_t* L = map.lowerCount;
    const int32_t* U = map.upperCount;
    if (U[to] < L[to]) return true;
    const int32_t below = p[to + 1];
    switch (from - kUpperHandBase) {
        case kPawn: return rankOf(to) == 8 || below == kLowerPawn;
        case kLance: return (rankOf(to) >= 7 && below != kLowerKing) || below == kLowerPawn;
        case kRook:
        case kBishop: return L[to] > 0;
        default: return below == kLowerPawn;
    }
}

// Whether a board move of the upper piece on `from` is played promoted; -1
// when a slow lance move is skipped altogether.
int32_t promotionOf(const EngineState& state, const Position& p, const AttackMap& map,
                    const Progress& progress, int32_t from, int32_t to) {
    const int32_t rankTo = rankOf(to);
    switch (p[from]) {
        case kUpperPawn: return rankTo >= 7 ? 1 : 0;
        case kUpperLance:
            if (rankTo >= 8) return 1;
            if (progress.total - 2 * state.profile.zyoukyou_pl >= 4 && p[to] == kEmpty &&
                rankTo <= 6 && map.lowerCount[from] == 0) {
                if (from < 20 || from > 90) return -1;
                if (map.lowerCount[to] <= 0) return -1;
            }
            return 0;
        case kUpperKnight: return rankTo >= 8 ? 1 : 0;
        case kUpperRook:
        case kUpperBishop: return (rankOf(from) >= 7 || rankTo >= 7) ? 1 : 0;
        default: return 0;
    }
}

// Scores `p`, the node's position after the move of `moved` from `from`
// onto `to` (+100 when it promotes), where `captured` stood.
void evaluateAfter(EngineState& state, const Position& p, CandidateList& result,
                   const PathTable& path, int32_t to, int32_t from, const AttackBase& base,
                   int32_t moved, int32_t captured) {
    if (!base.usable) {
        EvaluateMove(state, p, result, path, to, from);
        return;
    }
    AttackMap after;
    updateAttackMap(base, p, from, to % kPromotionOffset, moved, captured, after);
    ScoreMove(state, p, after, result, path, to, from);
}

}  // namespace

void TryMove(EngineState& state, Position& p, int32_t depth, const PathTable& path, int32_t to,
             int32_t from, CandidateList& result, const Progress& progress, const AttackMap& map,
             const AttackBase& base) {
    if (from >= kPromotionOffset) {
        if (depth <= 0 && prunedQuietDrop(p, map, from, to)) return;
        --p[from];
        p[to] = from - 87;
        evaluateAfter(state, p, result, path, to, from, base, p[to], kEmpty);
        ++p[from];
        p[to] = kEmpty;
        return;
    }
    if (depth <= 0 && prunedQuietBoardMove(state, p, map, from, to)) return;
    const int32_t promote = promotionOf(state, p, map, progress, from, to);
    if (promote < 0) return;

    const int32_t piece = p[from];
    const int32_t captured = p[to];
    if (captured != kEmpty) ++p[kUpperHandBase + (captured & 7)];
    p[to] = promote ? piece + kPromotedFlag : piece;
    p[from] = kEmpty;
    evaluateAfter(state, p, result, path, promote ? to + kPromotionOffset : to, from, base, piece,
                  captured);

    const bool touchesZone = rankOf(from) >= 7 || rankOf(to) >= 7;
    const int32_t now = p[to];
    if (!promote && touchesZone &&
        ((now & 44) == 36 || now == kUpperRook || now == kUpperBishop)) {
        p[to] = now + kPromotedFlag;
        evaluateAfter(state, p, result, path, to + kPromotionOffset, from, base, piece, captured);
    }

    p[from] = piece;
    p[to] = captured;
    if (captured != kEmpty) --p[kUpperHandBase + (captured & 7)];
}

void TryDrops(EngineState& state, Position& p, int32_t depth, const PathTable& path, int32_t s,
              CandidateList& result, const Progress& progress, const AttackMap& map,
              const AttackBase& base) {
    auto holds = [&](int32_t kind) { return p[kUpperHandBase + kind] > 0; };
    auto improves = [&](int32_t code, int32_t sq) {
        return working(state, code)[sq] > raw(state, code)[sq];
    };
    auto drop = [&](int32_t kind) {
        TryMove(state, p, depth, path, s, kUpperHandBase + kind, result, progress, map, base);
    };
    const int32_t rank = rankOf(s);
    if (holds(kRook)) drop(kRook);
    if (holds(kBishop)) drop(kBishop);
    if (holds(kGold) && (depth > 0 || improves(kUpperGold, s))) drop(kGold);
    if (holds(kSilver) && (depth > 0 || improves(kUpperSilver, s))) drop(kSilver);
    if (holds(kLance) && rank < 9) {
        bool allowed = true;
        if (rank == 7 || rank == 8) {
            const auto bigLower = [](int32_t v) { return v >= 0 && v < 3; };
            allowed = working(state, kUpperGold)[s + 1] - 3 > raw(state, kUpperGold)[s + 1] ||
                      bigLower(p[s + 1]) || bigLower(p[s + 2]);
        }
        if (allowed) drop(kLance);
    }
    if (holds(kPawn) && rank < 9) {
        bool pawnOnFile = false;
        const int32_t fileBase = 10 * fileOf(s);
        for (int32_t r = 1; r <= 8; ++r) pawnOnFile = pawnOnFile || p[fileBase + r] == kUpperPawn;
        if (!pawnOnFile) drop(kPawn);
    }
    if (holds(kKnight) && rank < 8 && (depth > 0 || improves(kUpperKnight, s))) drop(kKnight);
}

}  // namespace nusari
