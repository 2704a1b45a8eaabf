#include "think/expand.h"

#include <initializer_list>

#include "think/evaluate.h"
#include "think/hash_tables.h"

namespace nusari {

namespace {

// Everything a node's move loop needs, so the helpers stay short.
struct Node {
    EngineState& state;
    Position& p;
    int32_t depth;
    CandidateList& result;
    const PathTable& path;
    const Progress& progress;
    const AttackMap& map;
    const AttackBase& base;
    int32_t bound;

    bool cutoff() const { return result[0].score >= bound; }
    void tryTo(int32_t from, int32_t to) {
        if (to >= 0 && to < kBoardCells && upperMayEnter(p[to])) {
            TryMove(state, p, depth, path, to, from, result, progress, map, base);
        }
    }
    void steps(int32_t s, std::initializer_list<int32_t> offsets) {
        for (const int32_t d : offsets) tryTo(s, s + d);
    }
    // Tries one ray of up to eight cells, going on only past empty cells.
    void ray(int32_t s, int32_t d) {
        int32_t to = s;
        for (int32_t i = 0; i < 8; ++i) {
            to += d;
            if (to < 0 || to >= kBoardCells) return;
            tryTo(s, to);
            if (p[to] != kEmpty) return;
        }
    }
    // Tries the rays in order; false when a cut-off ends the node.
    bool rays(int32_t s, std::initializer_list<int32_t> directions) {
        for (const int32_t d : directions) {
            ray(s, d);
            if (cutoff()) return false;
        }
        return true;
    }
    // Tries every move of the upper piece on s; false on a cut-off.
    bool pieceMoves(int32_t s) {
        switch (p[s]) {
            case kUpperPawn: steps(s, {1}); break;
            case kUpperLance: ray(s, 1); break;
            case kUpperSilver: steps(s, {-11, -9, 1, 9, 11}); break;
            case kUpperKnight: steps(s, {12, -8}); break;
            case kUpperGold:
            case kUpperProSilver:
            case kUpperProKnight:
            case kUpperProLance:
            case kUpperTokin: steps(s, {1, 11, 10, -1, -10, -9}); break;
            case kUpperKing: steps(s, {-1, -11, -10, -9, 1, 11, 10, 9}); break;
            case kUpperDragon:
                steps(s, {-11, 11, -9, 9});
                if (cutoff()) return false;
                [[fallthrough]];
            case kUpperRook: return rays(s, {1, -1, -10, 10});
            case kUpperHorse:
                steps(s, {-10, 10, -1, 1});
                if (cutoff()) return false;
                [[fallthrough]];
            case kUpperBishop: return rays(s, {-11, 9, 11, -9});
            default: return true;
        }
        return !cutoff();
    }
};

}  // namespace

void ExpandNode(EngineState& state, Position& p, int32_t depth, CandidateList& result,
                const PathTable& path) {
    state.passScore = kScoreNotKnown;
    result[0].from = kListEndFrom;
    result[0].to = kListEndFrom;
    int32_t bound = kWinScore;
    if (depth <= 0) {
        if (ProbeHash(state, p, result)) return;
        result[0].score = kQuiescenceFloor;
        state.listLength = 0;
        bound = result[1].score;
    } else {
        result[0].score = kLossScore;
        state.listLength = 1;
    }

    AttackMap map;
    map.upperKing = 0;
    map.lowerKing = 0;
    buildAttackMap(p, map);
    Progress progress;
    ComputeProgress(state, p, progress);
    BlendTables(state, p, progress);

    AttackBase base;
    buildAttackBase(p, base);

    if (map.upperKing != 0 && map.lowerCount[map.upperKing] > 0) {
        ExpandEvasions(state, p, depth, result, path, progress, map, base);
        return;
    }

    // The pass: the position as if the side to move did nothing (the board,
    // and so its attack map, stays as it is).
    --p[kLowerTimeCell];
    ScoreMove(state, p, map, result, path, 0, 0);
    ++p[kLowerTimeCell];
    if (result[0].score >= bound) return;
    state.passScore = result[0].score;

    Node node{state, p, depth, result, path, progress, map, base, bound};
    for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
        const int32_t v = p[s];
        if (isUpperPiece(v)) {
            // Cut-offs are taken only while the scan is in files 1..4.
            if (s > 50) node.bound = kWinScore;
            if (!node.pieceMoves(s)) return;
        } else if (v == kEmpty) {
            TryDrops(state, p, depth, path, s, result, progress, map, base);
            if (node.cutoff()) return;
        }
    }
    if (depth <= 0) StoreHash(state, p, result);
}

}  // namespace nusari
