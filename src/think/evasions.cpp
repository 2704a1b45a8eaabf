#include "think/expand.h"
#include "think/hash_tables.h"

namespace nusari {

namespace {

inline bool isLowerPromoted(int32_t v) { return v >= 0 && v < 16 && isPromoted(v); }

// Lower pieces that give check from each neighbour of the upper king.
bool checksFromBelow(int32_t v) {  // k + 1
    return v == kLowerPawn || v == kLowerLance || v == kLowerSilver || v == kLowerGold ||
           v == kLowerRook || isLowerPromoted(v);
}
bool checksFromForwardDiagonal(int32_t v) {  // k + 11, k - 9
    return v == kLowerBishop || v == kLowerGold || v == kLowerSilver || isLowerPromoted(v);
}
bool checksFromSide(int32_t v) {  // k - 10, k + 10, k - 1
    return v == kLowerRook || v == kLowerGold || isLowerPromoted(v);
}
bool checksFromBackDiagonal(int32_t v) {  // k - 11, k + 9
    return v == kLowerBishop || v == kLowerSilver || v == kLowerDragon || v == kLowerHorse;
}

// The first adjacent or knight checker of the upper king on k, or 0.
int32_t steppingChecker(const Position& p, int32_t k) {
    if (checksFromBelow(p[k + 1])) return k + 1;
    for (const int32_t c : {k + 11, k - 9}) {
        if (checksFromForwardDiagonal(p[c])) return c;
    }
    for (const int32_t c : {k - 10, k + 10, k - 1}) {
        if (checksFromSide(p[c])) return c;
    }
    for (const int32_t c : {k - 11, k + 9}) {
        if (checksFromBackDiagonal(p[c])) return c;
    }
    if (rankOf(k) < 8) {
        for (const int32_t c : {k - 8, k + 12}) {
            if (p[c] == kLowerKnight) return c;
        }
    }
    return 0;
}

bool isOrthogonal(int32_t d) { return d == -1 || d == 1 || d == -10 || d == 10; }

bool slidesToward(int32_t v, int32_t d) {
    if (isOrthogonal(d)) return v == kLowerRook || v == kLowerDragon || (d == 1 && v == kLowerLance);
    return v == kLowerBishop || v == kLowerHorse;
}

// The first non-empty cell from b along d (at most eight cells), or -1.
int32_t firstOccupied(const Position& p, int32_t b, int32_t d) {
    int32_t c = b;
    for (int32_t i = 0; i < 8; ++i) {
        c += d;
        if (c < 0 || c >= kBoardCells) return -1;
        if (p[c] != kEmpty) return c;
    }
    return -1;
}

inline bool isGoldLike(int32_t v) {
    return v == kUpperGold || v == kUpperProSilver || v == kUpperProKnight || v == kUpperProLance ||
           v == kUpperTokin;
}

// Tries every upper move (not the king's) that ends on b.
void tryMovesOnto(EngineState& state, Position& p, int32_t depth, const PathTable& path, int32_t b,
                  CandidateList& result, const Progress& progress, const AttackMap& map,
                  const AttackBase& base) {
    auto attempt = [&](int32_t from) {
        TryMove(state, p, depth, path, b, from, result, progress, map, base);
    };
    auto fromCells = [&](std::initializer_list<int32_t> offsets, auto matches) {
        for (const int32_t d : offsets) {
            if (matches(p[b + d])) attempt(b + d);
        }
    };
    fromCells({-1}, [](int32_t v) { return v == kUpperPawn; });
    const int32_t lance = firstOccupied(p, b, -1);
    if (lance >= 0 && p[lance] == kUpperLance) attempt(lance);
    fromCells({-1, -11, -9, 9, 11}, [](int32_t v) { return v == kUpperSilver; });
    if (rankOf(b) > 2) fromCells({-12, 8}, [](int32_t v) { return v == kUpperKnight; });
    fromCells({-1, 1, 10, -10, -11, 9}, isGoldLike);
    fromCells({-1, -10, 10, 1}, [](int32_t v) { return v == kUpperHorse; });
    fromCells({-11, 11, -9, 9}, [](int32_t v) { return v == kUpperDragon; });
    for (const int32_t d : {-11, 11, -9, 9}) {
        const int32_t c = firstOccupied(p, b, d);
        if (c >= 0 && (p[c] == kUpperBishop || p[c] == kUpperHorse)) attempt(c);
    }
    for (const int32_t d : {-1, 1, -10, 10}) {
        const int32_t c = firstOccupied(p, b, d);
        if (c >= 0 && (p[c] == kUpperRook || p[c] == kUpperDragon)) attempt(c);
    }
}

}  // namespace

void ExpandEvasions(EngineState& state, Position& p, int32_t depth, CandidateList& result,
                    const PathTable& path, const Progress& progress, const AttackMap& map,
                    const AttackBase& base) {
    const int32_t k = map.upperKing;
    for (const int32_t d : {-1, -11, -10, -9, 1, 11, 10, 9}) {
        if (upperMayEnter(p[k + d])) {
            TryMove(state, p, depth, path, k + d, k, result, progress, map, base);
        }
    }
    if (result[0].score >= kWinScore) return;

    // The checker and the squares between it and the king.
    int32_t block[9];
    int32_t blockCount = 0;
    const int32_t stepper = steppingChecker(p, k);
    if (stepper != 0) block[blockCount++] = stepper;
    for (const int32_t d : {-1, 1, -10, 10, -11, 11, -9, 9}) {
        if (p[k + d] != kEmpty) continue;
        int32_t c = k + d;
        for (int32_t distance = 2; distance <= 8; ++distance) {
            c += d;
            if (c < 0 || c >= kBoardCells || p[c] != kEmpty) break;
        }
        if (c < 0 || c >= kBoardCells || !slidesToward(p[c], d)) continue;
        if (blockCount > 0) return;  // double check: only the king's moves remain
        for (int32_t cell = c; cell != k; cell -= d) block[blockCount++] = cell;
    }

    for (int32_t i = 0; i < blockCount; ++i) {
        const int32_t b = block[i];
        tryMovesOnto(state, p, depth, path, b, result, progress, map, base);
        if (p[b] == kEmpty) TryDrops(state, p, depth, path, b, result, progress, map, base);
        if (result[0].score >= kWinScore) return;
    }
    if (depth <= 0) StoreHash(state, p, result);
}

}  // namespace nusari
