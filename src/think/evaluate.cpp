#include "think/evaluate.h"

#include <algorithm>

#include "position/attack_map.h"
#include "position/position.h"
#include "think/king_piece_eval.h"
#include "think/progress.h"

namespace nusari {

namespace {

using Table = int32_t[kEvalTableSlots];

// Working table of a piece code.
inline const Table& working(const EngineState& s, int32_t code) {
    return s.evalTables.table[code + kWorkingTableOffset];
}

// Upper pieces that give check from each neighbour of the lower king.
inline bool checksFromAbove(int32_t v) {  // lk - 1
    return isUpperPiece(v) && v != kUpperBishop && v != kUpperKnight;
}
inline bool checksFromForwardDiagonal(int32_t v) {  // lk - 11, lk + 9
    return isUpperPiece(v) && v != kUpperRook && v != kUpperKnight && v != kUpperLance &&
           v != kUpperPawn;
}
inline bool checksFromSideOrBelow(int32_t v) {  // lk - 10, lk + 10, lk + 1
    return v == kUpperRook || v == kUpperGold || (isUpperPiece(v) && isPromoted(v));
}
inline bool checksFromBackDiagonal(int32_t v) {  // lk + 11, lk - 9
    return v == kUpperBishop || v == kUpperSilver || v == kUpperDragon || v == kUpperHorse;
}

// The last adjacent upper checker of the lower king, or 0.
int32_t adjacentChecker(const Position& p, int32_t lk) {
    int32_t checker = 0;
    if (checksFromAbove(p[lk - 1])) checker = lk - 1;
    for (const int32_t c : {lk - 11, lk + 9}) {
        if (checksFromForwardDiagonal(p[c])) checker = c;
    }
    for (const int32_t c : {lk - 10, lk + 10, lk + 1}) {
        if (checksFromSideOrBelow(p[c])) checker = c;
    }
    for (const int32_t c : {lk + 11, lk - 9}) {
        if (checksFromBackDiagonal(p[c])) checker = c;
    }
    return checker;
}

// True when the lower king has a neighbour it could step to that the upper
// side does not attack.
bool lowerKingHasRoom(const Position& p, const AttackMap& map, int32_t lk) {
    for (const int32_t d : {-11, -10, -9, -1, 1, 9, 10, 11}) {
        const int32_t n = lk + d;
        if (lowerKingMayEnter(p[n]) && map.upperCount[n] == 0) return true;
    }
    return false;
}

// One side of a king's room: 33, 31 or 30 for free cells the enemy does not
// attack, else an edge term when none of the three is attacked.
int32_t roomTerm(const Position& p, const int32_t* enemy, int32_t c33, int32_t c31, int32_t c30,
                 int32_t edge) {
    if (p[c33] > 60 && enemy[c33] == 0) return 33;
    if (p[c31] > 60 && enemy[c31] == 0) return 31;
    if (p[c30] == kEmpty && enemy[c30] == 0) return 30;
    if (enemy[c33] == 0 && enemy[c31] == 0 && enemy[c30] == 0) return edge;
    return 0;
}

int32_t edgeTowardFileOne(int32_t k) { return k < 20 ? 29 : k < 30 ? 13 : 0; }
int32_t edgeTowardFileNine(int32_t k) { return k > 90 ? 29 : k > 80 ? 13 : 0; }

// Danger weight of one king-zone cell attacked `attack` times and defended
// `defence` times.
inline int32_t zoneWeight(const Position& p, int32_t z, int32_t attack, int32_t defence) {
    int32_t w = attack;
    if (attack >= defence) {
        w += 2;
        if (attack > defence) w += 4;
        if (p[z] == kEmpty) w += 2;
    }
    return w;
}

// Sum of zone weights times the danger map over the cells of one king zone.
template <typename Cells>
int32_t zoneDanger(const Position& p, const Cells& cells, int32_t count, const int32_t* attack,
                   const int32_t* defence, const Table& map) {
    int32_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t z = cells[i];
        if (attack[z] > 0) total += (zoneWeight(p, z, attack[z], defence[z]) * map[z]) / 10;
    }
    return total;
}

int32_t upperZone(int32_t uk, int32_t* cells) {
    int32_t n = 0;
    for (const int32_t d : {1, -1, 9, -9, 10, -10, 11, -11}) cells[n++] = uk + d;
    if (rankOf(uk) < 8) {
        for (const int32_t d : {2, 12, -8}) cells[n++] = uk + d;
    }
    if (uk < 80) {
        cells[n++] = uk + 20;
        cells[n++] = uk + 21;
    }
    if (uk > 30) {
        cells[n++] = uk - 20;
        cells[n++] = uk - 19;
    }
    return n;
}

int32_t lowerZone(int32_t lk, int32_t* cells) {
    int32_t n = 0;
    for (const int32_t d : {1, -1, 9, -9, 10, -10, 11, -11}) cells[n++] = lk + d;
    if (rankOf(lk) > 2) {
        for (const int32_t d : {-2, -12, 8}) cells[n++] = lk + d;
    }
    if (lk < 80) {
        cells[n++] = lk + 20;
        cells[n++] = lk + 19;
    }
    if (lk > 30) {
        cells[n++] = lk - 20;
        cells[n++] = lk - 21;
    }
    return n;
}

inline bool onGoldStep(const Position& p, int32_t s, int32_t code) {
    return p[s - 10] == code || p[s - 9] == code || p[s + 1] == code || p[s + 11] == code ||
           p[s + 10] == code || p[s - 1] == code;
}

inline bool isSilverOrPromotedSilver(int32_t v) {
    return v == kLowerSilver || v == kLowerProSilver;
}

// The cheapest lower attacker of square s among gold, silver, knight, lance
// and pawn (the later rule wins), or 0 when none of them attacks it.
int32_t cheapestAttacker(const Position& p, int32_t s) {
    int32_t k = 0;
    if (onGoldStep(p, s, kLowerGold)) k = kLowerGold;
    if (p[s - 11] == kLowerSilver || p[s + 9] == kLowerSilver ||
        isSilverOrPromotedSilver(p[s - 9]) || isSilverOrPromotedSilver(p[s + 1]) ||
        isSilverOrPromotedSilver(p[s + 11]) || p[s - 10] == kLowerProSilver ||
        p[s + 10] == kLowerProSilver || p[s - 1] == kLowerProSilver) {
        k = kLowerSilver;
    }
    if ((rankOf(s) < 8 && (p[s + 12] == kLowerKnight || p[s - 8] == kLowerKnight)) ||
        onGoldStep(p, s, kLowerProKnight)) {
        k = kLowerKnight;
    }
    int32_t below = s + 1;
    for (int32_t step = 1; step < 8 && below < kBoardCells && p[below] == kEmpty; ++step) ++below;
    if ((below < kBoardCells && p[below] == kLowerLance) || onGoldStep(p, s, kLowerProLance)) {
        k = kLowerLance;
    }
    if (p[s + 1] == kLowerPawn || onGoldStep(p, s, kLowerTokin)) k = kLowerPawn;
    return k;
}

inline int32_t clampHand(int32_t n) { return std::clamp(n, 0, kMaxHandCount); }

void record(EngineState& state, CandidateList& result, int32_t score, int32_t from, int32_t to,
            int32_t adjustment) {
    if (state.listLength == 0) {
        if (score > result[0].score) {
            result[0].score = score;
            result[0].from = static_cast<int16_t>(from);
            result[0].to = static_cast<int16_t>(to);
        }
        return;
    }
    const int32_t haba = std::clamp(state.profile.haba, 1, kCandidateCapacity);
    int32_t i = 0;
    while (i < haba && result[i].score >= score) ++i;
    if (i == haba) return;
    const int32_t last = std::min(state.listLength, kCandidateCapacity - 1);
    for (int32_t j = last; j > i; --j) result[j] = result[j - 1];
    result[i] = Candidate{score, static_cast<int16_t>(from), static_cast<int16_t>(to),
                          static_cast<int16_t>(adjustment)};
    if (state.listLength < haba - 1) ++state.listLength;
}

}  // namespace

void EvaluateMove(EngineState& state, const Position& p, CandidateList& result,
                  const PathTable& path, int32_t to, int32_t from) {
    AttackMap map;
    map.lowerKing = 0;
    map.upperKing = 0;
    buildAttackMap(p, map);
    ScoreMove(state, p, map, result, path, to, from);
}

namespace {

// Leaves the score's terms untold: the search's scoring, at no cost.
struct NoTerms {
    static constexpr bool kExplains = false;
    void add(EvalTerm, int32_t) {}
};

// Collects them.
struct TermSink {
    static constexpr bool kExplains = true;
    EvalTerms& terms;
    void add(EvalTerm t, int32_t v) { terms.value[static_cast<size_t>(t)] += v; }
};

// The score of ScoreMove, each part told to `terms` as it is added.
template <typename Terms>
void scoreMove(EngineState& state, const Position& p, const AttackMap& map, CandidateList& result,
               const PathTable& path, int32_t to, int32_t from, Terms terms) {
    if constexpr (!Terms::kExplains) ++state.nodeCount;
    int32_t a = -10;
    int32_t S = 0;
    const auto add = [&](EvalTerm t, int32_t v) {
        S += v;
        terms.add(t, v);
    };

    const int32_t* L = map.lowerCount;
    const int32_t* U = map.upperCount;
    const int32_t lk = map.lowerKing;
    const int32_t uk = map.upperKing;

    if (uk != 0 && L[uk] > 0) return;  // the mover left its king attacked
    if constexpr (Terms::kExplains) terms.terms.legal = true;

    // A check on the lower king that it cannot step out of.
    if (lk != 0 && U[lk] > 0 && !lowerKingHasRoom(p, map, lk)) {
        const int32_t checker = adjacentChecker(p, lk);
        bool mate = false;
        if (checker != 0) {
            mate = U[checker] >= 1 && L[checker] <= 1;
        } else if (rankOf(lk) > 2) {
            int32_t knight = 0;
            if (p[lk + 8] == kUpperKnight) {
                knight = lk + 8;
            } else if (p[lk - 12] == kUpperKnight) {
                knight = lk - 12;
            }
            mate = knight != 0 && L[knight] == 0;
        }
        if (mate) {
            if (from == kUpperHandBase + kPawn) {  // mate by a pawn drop is not allowed
                if constexpr (Terms::kExplains) terms.terms.legal = false;
                return;
            }
            if constexpr (Terms::kExplains) terms.terms.mate = true;
            result[0].score = kWinScore;
            result[0].from = static_cast<int16_t>(from);
            result[0].to = static_cast<int16_t>(to);
            return;
        }
        add(EvalTerm::Check, 101);
    }

    // King room.
    if (lk != 0) {
        add(EvalTerm::TheirKingRoom, -roomTerm(p, U, lk + 9, lk + 10, lk + 11, edgeTowardFileOne(lk)));
        add(EvalTerm::TheirKingRoom, -roomTerm(p, U, lk - 11, lk - 10, lk - 9, edgeTowardFileNine(lk)));
    }
    if (uk != 0) {
        add(EvalTerm::OwnKingRoom, roomTerm(p, L, uk + 11, uk + 10, uk + 9, edgeTowardFileOne(uk)));
        add(EvalTerm::OwnKingRoom, roomTerm(p, L, uk - 9, uk - 10, uk - 11, edgeTowardFileNine(uk)));
    }

    // King zones.
    int32_t zone[16];
    if (uk != 0) {
        const int32_t n = upperZone(uk, zone);
        add(EvalTerm::OwnKingZone, -zoneDanger(p, zone, n, L, U, working(state, kDangerMapCode)));
    }
    if (lk != 0) {
        const int32_t n = lowerZone(lk, zone);
        add(EvalTerm::TheirKingZone, zoneDanger(p, zone, n, U, L, working(state, kDangerMapCode + kUpperSide)));
    }

    // Pieces.
    const Table& upperDanger = working(state, kDangerMapCode);
    const Table& lowerDanger = working(state, kDangerMapCode + kUpperSide);
    const int32_t moved = to % kPromotionOffset;
    int32_t threatMax = 0;
    for (int32_t i = 0; i < map.pieceCount; ++i) {
        const int32_t s = map.pieceSquares[i];
        const int32_t c = p[s];
        if (!isValidPieceCode(c)) continue;
        const Table& W = working(state, c);
        if (c < 30) {
            if (U[s] >= L[s] && U[s] > 0) add(EvalTerm::Attacks, W[s] >> 3);
            add(EvalTerm::TheirPieces, -W[s]);
            if (c == kLowerPawn) {
                if (rankOf(s) < 5 && L[s - 1] > U[s - 1] && p[s - 1] > 30) {
                    add(EvalTerm::Attacks, -(working(state, kLowerTokin)[s - 1] >> 2));
                }
            } else {
                add(EvalTerm::Attacks, lowerDanger[s] * U[s]);
            }
            continue;
        }
        if (L[s] >= 1) {
            const Table& base = working(state, c & 39);
            int32_t t = base[s];
            if (U[s] >= 1) {
                const int32_t k = cheapestAttacker(p, s);
                t = k != 0 ? base[s] - working(state, k)[s] : 0;
            }
            if (t > 0) {
                threatMax = std::max(threatMax, t);
                if (s == moved) add(EvalTerm::Threats, -(t >> 1));
            }
            if (L[s] >= U[s]) add(EvalTerm::Attacks, -(W[s] >> 3));
        }
        add(EvalTerm::OwnPieces, W[s]);
        if (c == kUpperPawn) {
            if (rankOf(s) > 5 && L[s + 1] < U[s + 1] && !isUpperPiece(p[s + 1])) {
                add(EvalTerm::Attacks, working(state, kUpperTokin)[s + 1] >> 2);
            }
        } else {
            add(EvalTerm::Attacks, -(upperDanger[s] * L[s]));
        }
    }

    // Hands and the pass counter; both hands read the lower codes' tables.
    add(EvalTerm::Pass, -state.profile.pasu_kati * p[kLowerTimeCell]);
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        const Table& hand = working(state, kind);
        add(EvalTerm::TheirHand, -hand[kHandValueSlot + clampHand(p[kLowerHandBase + kind])]);
        add(EvalTerm::OwnHand, hand[kHandValueSlot + clampHand(p[kUpperHandBase + kind])]);
    }
    add(EvalTerm::Threats, -threatMax);

    // Depth adjustment of a real move.
    if (from != 0) {
        const AikProfile& prof = state.profile;
        if (S > state.passScore && prof.hitu_hukasa >= 1) a += (S - state.passScore) / prof.hitu_hukasa;
        if (lk != 0 && U[lk] > 0) {
            add(EvalTerm::MoveBonus, prof.oute_kati);
            a = (prof.oute_hukasa * a) / 10;
        }
        if (moved == path[0]) {
            add(EvalTerm::MoveBonus, prof.doute_kati[0]);
            a = (prof.doute_hukasa[0] * a) / 10;
        }
        if (moved == path[2]) {
            add(EvalTerm::MoveBonus, prof.doute_kati[1]);
            a = (prof.doute_hukasa[1] * a) / 10;
        }
        if (L[moved] > 0) a = (prof.sute_hukasa * a) / 10;
    }
    a = std::min(a, -2);
    if constexpr (Terms::kExplains) {
        terms.terms.total = S;
    } else {
        record(state, result, S, from, to, a);
    }
}

}  // namespace

void ScoreMove(EngineState& state, const Position& p, const AttackMap& map, CandidateList& result,
               const PathTable& path, int32_t to, int32_t from) {
    scoreMove(state, p, map, result, path, to, from, NoTerms{});
}

int32_t EvaluatePosition(EngineState& state, const Position& p, Side toMove) {
    if (state.kingPieceTables.present) return EvaluateKingPiece(state, p, toMove);
    // The move evaluation scores for the upper side as the mover: the side
    // that moved into the position goes up.
    Position q = toMove == Side::Upper ? flipPosition(p) : p;
    q[kLowerTimeCell] = 0;
    q[kUpperTimeCell] = 0;
    Progress progress;
    ComputeProgress(state, q, progress);
    BlendTables(state, q, progress);
    return EvaluateBlended(state, q);
}

int32_t EvaluateBlended(EngineState& state, const Position& moverUp) {
    const EvalTerms terms = ExplainMove(state, moverUp, PathTable{}, 0, 0);
    if (!terms.legal) return kWinScore;
    if (terms.mate) return kLossScore;
    return -terms.total;
}

EvalTerms ExplainMove(EngineState& state, const Position& p, const PathTable& path, int32_t to,
                      int32_t from) {
    AttackMap map;
    map.lowerKing = 0;
    map.upperKing = 0;
    buildAttackMap(p, map);
    EvalTerms terms;
    CandidateList unused;
    scoreMove(state, p, map, unused, path, to, from, TermSink{terms});
    return terms;
}

}  // namespace nusari
