#include "think/search.h"

#include <algorithm>

#include "position/attack_map.h"
#include "position/position.h"
#include "think/clock.h"
#include "think/expand.h"
#include "think/hash_tables.h"

namespace nusari {

namespace {

inline int32_t width(const EngineState& state) {
    return std::clamp(state.profile.haba, 1, kCandidateCapacity);
}
inline int32_t hyouka(const EngineState& state) { return std::max(state.profile.edakari_hyouka, 1); }
inline bool stopped(const EngineState& state) { return state.continueSearch.load(std::memory_order_relaxed) == 0; }

// Entries 1.. of the child's table are the parent's, seen from the other side.
void shiftPath(const PathTable& parent, PathTable& child) {
    for (int32_t k = 0; k + 1 < kPathLength; ++k) child[k + 1] = flipSquare(parent[k]);
}

// Adds (or removes) the node's bias to the scores of its live candidates.
void addBias(const EngineState& state, CandidateList& list, int32_t bias) {
    const int32_t haba = width(state);
    for (int32_t i = 0; i < haba && list[i].score != kLossScore; ++i) list[i].score += bias;
}

// Marks the position as on the search path.
void markPath(EngineState& state, const Position& p) {
    CandidateList mark;
    mark[0].from = kPathMarkFrom;
    StorePosition(state, p, mark);
}

// Stores a node proved lost or won, generalised over the hand of the side
// not to move.
// Pawns in hand are never generalised.
int32_t storeVerdict(EngineState& state, Position& p, const CandidateList& list) {
    if (list[0].score == kLossScore) {
        // Lost whatever the opponent holds of each kind the side to move holds.
        for (int32_t kind = kRook; kind <= kLance; ++kind) {
            if (p[upperHandCell(kind)] > 0) p[lowerHandCell(kind)] = 0;
        }
    } else {
        // Won whatever the opponent holds, but for the kind the winning move drops.
        for (int32_t kind = kRook; kind <= kLance; ++kind) {
            if (upperHandCell(kind) != list[0].from) p[lowerHandCell(kind)] = kAnyHandCount;
        }
    }
    StorePosition(state, p, list);
    return list[0].score;
}

}  // namespace

void MoveToFront(CandidateList& list, int32_t i) {
    const Candidate moved = list[i];
    for (int32_t j = i; j > 0; --j) list[j] = list[j - 1];
    list[0] = moved;
}

void DropCandidate(const EngineState& state, CandidateList& list, int32_t& i) {
    const int32_t haba = width(state);
    for (int32_t j = i; j + 1 < haba; ++j) list[j] = list[j + 1];
    list[haba - 1] = Candidate{kLossScore, kListEndFrom, kListEndFrom, 0};
    --i;
}

Position MakeChild(const Position& p, int32_t from, int32_t to, int32_t passCounter,
                   int32_t scoreBias, PathTable& childPath) {
    Position q = flipPosition(p);
    q[kLowerTimeCell] = passCounter;
    q[kUpperTimeCell] = scoreBias;
    // The upper side's move, seen from the child: the lower side's.
    const Move child = flipMove(Move{from, to});
    childPath[0] = destinationOf(child);
    applyLowerMove(q, child);
    return q;
}

int32_t SearchPly(EngineState& state, Position p, int32_t depth, int32_t alpha, int32_t beta,
                  const PathTable& path) {
    // The clock is read once per block of kNodesPerClockCheck evaluations.
    // The counter moves on by a whole expansion between two calls, so the
    // test is for having passed into a new block rather than for an exact
    // multiple, which would be met only by chance and let a search run far
    // past its limit.
    const int32_t block = state.nodeCount / kNodesPerClockCheck;
    if (block != state.clockCheckBlock) {
        state.clockCheckBlock = block;
        if (!state.clockPaused && nowMs() - state.searchStartMs > state.searchLimitMs) {
            state.continueSearch = 0;
            return 0;
        }
    }
    CandidateList list;
    const int32_t found = LookupPosition(state, p, list);
    if (found == kLookupMiss) {
        list[1].score = beta;
        ExpandNode(state, p, depth, list, path);
        if (list[0].score == kLossScore || list[0].score == kWinScore) {
            return storeVerdict(state, p, list);
        }
        if (list[0].score == kQuiescenceFloor) {
            depth = 1;
            ExpandNode(state, p, depth, list, path);
        }
    } else if (found == kLookupList) {
        if (depth <= 0) depth = 1;
    } else {
        return list[0].score;
    }
    if (depth <= 0) return list[0].score + p[kUpperTimeCell];

    markPath(state, p);
    int32_t bias = p[kUpperTimeCell];
    if (depth > 10) {
        const int32_t r = PassSearch(state, p, 0, -beta, -alpha, path);
        if (-r == kLossScore) {
            bias -= 17;
        } else if (-r == kQuiescenceFloor) {
            bias -= 7;
        }
    }
    addBias(state, list, bias);

    PathTable childPath;
    shiftPath(path, childPath);
    const int32_t haba = width(state);
    const AikProfile& prof = state.profile;
    for (int32_t i = 0; i < haba && list[i].from != kListEndFrom; ++i) {
        Candidate& c = list[i];
        const int32_t d1 = depth + c.depthAdjustment;
        int32_t earlier = 0;
        for (int32_t j = 0; j < i; ++j) {
            if (list[j].from == kPassFrom) {
                earlier += prof.edakari_pasu;
            } else if (list[j].from == c.from) {
                ++earlier;
            }
        }
        const int32_t rankCut = i > 0 ? prof.edakari_hiyuusen + prof.edakari_hiyuusen / (i + 1) : 0;
        const int32_t d2 = std::min(d1, d1 - rankCut - (alpha - c.score) / hyouka(state) - earlier);
        if (d2 <= 0 && c.score <= alpha) continue;
        if (c.from == kPassFrom) {
            if (d2 <= 10 && c.score <= alpha) break;
            if (depth > 2 || i == 0) continue;
            break;
        }
        const Position child = MakeChild(p, c.from, c.to, -p[kLowerTimeCell], -bias, childPath);
        int32_t v = 0;
        if (d1 <= 5) {
            v = -SearchPly(state, child, d1, -beta, -alpha, childPath);
        } else if (i == 0 || alpha <= kQuiescenceFloor || beta - alpha == 1) {
            v = -SearchPly(state, child, d2, -beta, -alpha, childPath);
            if (v > alpha && !stopped(state)) {
                c.score = std::max(c.score, v);
                if (d2 < d1 && v != kWinScore) {
                    v = -SearchPly(state, child, d1, -beta, -alpha, childPath);
                }
            }
        } else {
            v = -SearchPly(state, child, d2, -alpha - 1, -alpha, childPath);
            if (v > alpha && !stopped(state)) {
                c.score = std::max(c.score, v);
                v = -SearchPly(state, child, d1, -beta, -alpha, childPath);
            }
        }
        if (stopped(state)) break;
        if (v > alpha) {
            alpha = v;
            c.score = std::max(c.score, v);
            if (i > 0) MoveToFront(list, i);
            if (alpha >= beta) break;
        } else if (v <= kLossScore) {
            DropCandidate(state, list, i);
        }
    }

    if (!stopped(state)) {
        if (alpha == kWinScore) {
            list[0].score = kWinScore;
            StorePosition(state, p, list);
            return kWinScore;
        }
        if (list[0].score == kLossScore || (list[0].from == kPassFrom && list[1].score == kLossScore)) {
            StorePosition(state, p, list);
            return kLossScore;
        }
    }
    addBias(state, list, -bias);
    StorePosition(state, p, list);
    return alpha;
}

int32_t PassSearch(EngineState& state, const Position& p, int32_t depth, int32_t alpha,
                   int32_t beta, const PathTable& path) {
    AttackMap map;
    map.upperKing = 0;
    buildAttackMap(p, map);
    if (map.upperKing != 0 && map.lowerCount[map.upperKing] > 0) return 0;
    Position child = flipPosition(p);
    child[kLowerTimeCell] = 1 - p[kLowerTimeCell];
    child[kUpperTimeCell] = -p[kUpperTimeCell];
    PathTable childPath;
    childPath[0] = 0;
    shiftPath(path, childPath);
    return SearchPly(state, child, depth, -beta, -alpha, childPath);
}

void SearchRoot(EngineState& state, const Position& root, CandidateList& list, int32_t iteration,
                int32_t& best, int32_t baseBias, const InducedMoveKey induced[4]) {
    const int32_t haba = width(state);
    const AikProfile& prof = state.profile;
    for (int32_t i = 0; i < haba && list[i].from != kListEndFrom; ++i) {
        Candidate& c = list[i];
        if (c.from == kPassFrom) continue;
        int32_t bonus = baseBias;
        for (int32_t k = 0; k < 4; ++k) {
            if (induced[k].from == c.from && induced[k].to == c.to) {
                bonus += prof.yudou_kati[k];
                break;
            }
        }
        const int32_t d1 = iteration - 10;
        int32_t sameFrom = 0;
        for (int32_t j = 0; j < i; ++j) sameFrom += list[j].from == c.from ? 1 : 0;
        const int32_t d2 = std::min(
            d1, d1 - (i > 0 ? prof.edakari_hiyuusen : 0) - (best - c.score) / hyouka(state) - sameFrom);
        PathTable path;
        const Position child = MakeChild(root, c.from, c.to, 0, -bonus, path);
        int32_t v = 0;
        if (i == 0) {
            v = -SearchPly(state, child, d1, kQuiescenceFloor, -best, path);
            if (stopped(state)) return;
            if (v > best && v < c.score) {
                v = -SearchPly(state, child, iteration - 2, kQuiescenceFloor, -best, path);
                if (stopped(state)) return;
            }
            if (v > best) {
                best = v;
                c.score = std::max(c.score, v);
            }
        } else {
            v = -SearchPly(state, child, d2, -best - 1, -best, path);
            if (stopped(state)) return;
            if (v > best) {
                c.score = std::max(c.score, v);
                if (v != kWinScore) {
                    v = -SearchPly(state, child, d1, kQuiescenceFloor, -best, path);
                    if (stopped(state)) return;
                    if (v > best && v < c.score) {
                        v = -SearchPly(state, child, iteration - 2, kQuiescenceFloor, -best, path);
                        if (stopped(state)) return;
                    }
                }
                if (v > best) {
                    best = v;
                    c.score = std::max(c.score, v);
                    MoveToFront(list, i);
                }
            }
        }
        if (best >= kWinScore) return;
        if (v <= kLossScore && v <= best) DropCandidate(state, list, i);
    }
}

}  // namespace nusari
