#include "legal_moves.h"

#include <array>
#include <initializer_list>

#include "position.h"

namespace nusari {

namespace {

// Movement of one piece code, written for the lower side (forward = -1); the
// upper side uses the negated steps.
struct Movement {
    int32_t steps[8];
    int32_t stepCount;
    int32_t rays[4];
    int32_t rayCount;
};

constexpr Movement movementOf(int32_t own) {
    switch (own) {
        case kLowerKing: return {{-11, -10, -9, -1, 1, 9, 10, 11}, 8, {}, 0};
        case kLowerRook: return {{}, 0, {-1, 1, -10, 10}, 4};
        case kLowerBishop: return {{}, 0, {-11, -9, 9, 11}, 4};
        case kLowerGold:
        case kLowerProSilver:
        case kLowerProKnight:
        case kLowerProLance:
        case kLowerTokin: return {{-1, -11, 9, -10, 10, 1}, 6, {}, 0};
        case kLowerSilver: return {{-1, -11, 9, -9, 11}, 5, {}, 0};
        case kLowerKnight: return {{-12, 8}, 2, {}, 0};
        case kLowerLance: return {{}, 0, {-1}, 1};
        case kLowerPawn: return {{-1}, 1, {}, 0};
        case kLowerDragon: return {{-11, -9, 9, 11}, 4, {-1, 1, -10, 10}, 4};
        case kLowerHorse: return {{-10, -1, 1, 10}, 4, {-11, -9, 9, 11}, 4};
        default: return {{}, 0, {}, 0};
    }
}

struct MovementTable {
    Movement byCode[16];
};

constexpr MovementTable makeMovementTable() {
    MovementTable t{};
    for (int32_t c = 0; c < 16; ++c) t.byCode[c] = movementOf(c);
    return t;
}

constexpr MovementTable kMovements = makeMovementTable();

constexpr int32_t sideValue(Side s) { return static_cast<int32_t>(s); }
constexpr int32_t forwardOf(Side s) { return s == Side::Lower ? -1 : 1; }

inline bool isOwnPiece(int32_t v, Side s) {
    return isValidPieceCode(v) && sideOf(v) == sideValue(s);
}

inline bool inBoardCells(int32_t cell) { return cell >= 0 && cell < kBoardCells; }

// A square the side may move to: empty, or holding an enemy piece.
inline bool enterable(int32_t v, Side s) {
    return v == kEmpty || (isValidPieceCode(v) && sideOf(v) != sideValue(s));
}

// Rank counted from the mover's far edge: 1 is the last rank.
inline int32_t relativeRank(int32_t square, Side s) {
    return s == Side::Lower ? rankOf(square) : 10 - rankOf(square);
}

inline bool inPromotionZone(int32_t square, Side s) { return relativeRank(square, s) <= 3; }

// Ranks from the far edge on which an unpromoted kind would have no move.
inline int32_t deadRanks(int32_t kind) {
    if (kind == kKnight) return 2;
    if (kind == kPawn || kind == kLance) return 1;
    return 0;
}

inline bool canPromote(int32_t own) {
    return !isPromoted(own) && own != kLowerKing && own != kLowerGold;
}

// Appends the promotion choices of a board move.
void addBoardMove(MoveList& out, Side s, int32_t own, int32_t from, int32_t to) {
    const bool promotable = canPromote(own) && (inPromotionZone(from, s) || inPromotionZone(to, s));
    if (promotable) out.add(Move{from, to + kPromotionOffset});
    if (isPromoted(own) || relativeRank(to, s) > deadRanks(kindOf(own))) out.add(Move{from, to});
}

void boardMoves(const Position& p, Side s, MoveList& out) {
    const int32_t sign = s == Side::Lower ? 1 : -1;
    for (int32_t from = kFirstSquare; from <= kLastSquare; ++from) {
        const int32_t v = p[from];
        if (!isOwnPiece(v, s)) continue;
        const int32_t own = v - sideValue(s);
        const Movement& m = kMovements.byCode[own];
        for (int32_t i = 0; i < m.stepCount; ++i) {
            const int32_t to = from + sign * m.steps[i];
            if (inBoardCells(to) && isSquare(to) && enterable(p[to], s)) {
                addBoardMove(out, s, own, from, to);
            }
        }
        for (int32_t i = 0; i < m.rayCount; ++i) {
            const int32_t d = sign * m.rays[i];
            for (int32_t to = from + d; inBoardCells(to) && isSquare(to); to += d) {
                if (!enterable(p[to], s)) break;
                addBoardMove(out, s, own, from, to);
                if (p[to] != kEmpty) break;
            }
        }
    }
}

bool fileHasOwnPawn(const Position& p, int32_t file, Side s) {
    for (int32_t rank = 1; rank <= 9; ++rank) {
        if (p[squareOf(file, rank)] == sideValue(s) + kPawn) return true;
    }
    return false;
}

void drops(const Position& p, Side s, MoveList& out) {
    const int32_t handBase = s == Side::Lower ? kLowerHandBase : kUpperHandBase;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        if (p[handBase + kind] <= 0) continue;
        for (int32_t file = 1; file <= 9; ++file) {
            if (kind == kPawn && fileHasOwnPawn(p, file, s)) continue;
            for (int32_t rank = 1; rank <= 9; ++rank) {
                const int32_t to = squareOf(file, rank);
                if (p[to] != kEmpty || relativeRank(to, s) <= deadRanks(kind)) continue;
                out.add(Move{handBase + kind, to});
            }
        }
    }
}

bool leavesKingSafe(Position& p, Side s, const Move& m, int32_t kingSquare) {
    const int32_t captured = applyMove(p, s, m);
    int32_t king = kingSquare;
    if (m.from == kingSquare) king = destinationOf(m);
    const bool safe = king == 0 || !isSquareAttacked(p, king, opponentOf(s));
    undoMove(p, s, m, captured);
    return safe;
}

bool hasLegalBoardMove(Position& p, Side s) {
    thread_local MoveList pseudo;
    pseudo.count = 0;
    boardMoves(p, s, pseudo);
    const int32_t king = findKing(p, s);
    for (const Move& m : pseudo) {
        if (leavesKingSafe(p, s, m, king)) return true;
    }
    return false;
}

// A pawn drop that checks the enemy king and leaves it no legal reply. A
// drop can never answer the adjacent check of a pawn, so only board moves
// are tried.
// The empty squares between the king and the first piece in each of the
// eight directions: a drop anywhere else leaves every line to the king as
// it was, so it cannot end a check.
std::array<bool, kBoardCells> blockingSquares(const Position& p, int32_t king) {
    constexpr int32_t kDirections[8] = {-11, -10, -9, -1, 1, 9, 10, 11};
    std::array<bool, kBoardCells> on{};
    for (const int32_t d : kDirections) {
        for (int32_t c = king + d; c >= 0 && c < kBoardCells && isSquare(c) && p[c] == kEmpty; c += d) {
            on[static_cast<size_t>(c)] = true;
        }
    }
    return on;
}

bool pawnDropMates(Position& p, Side s, const Move& m) {
    const int32_t sq = destinationOf(m);
    const int32_t target = sq + forwardOf(s);
    if (!inBoardCells(target) || p[target] != sideValue(opponentOf(s)) + kKing) return false;
    const int32_t captured = applyMove(p, s, m);
    const bool mate = !hasLegalBoardMove(p, opponentOf(s));
    undoMove(p, s, m, captured);
    return mate;
}

// Piece codes of `attacker` that can step from attacker cell to the square
// (delta = square - attacker cell, seen from the lower side).
bool stepsBy(int32_t own, int32_t delta) {
    const Movement& m = kMovements.byCode[own];
    for (int32_t i = 0; i < m.stepCount; ++i) {
        if (m.steps[i] == delta) return true;
    }
    return false;
}

}  // namespace

bool MoveList::contains(const Move& m) const {
    for (const Move& x : *this) {
        if (x == m) return true;
    }
    return false;
}

int32_t findKing(const Position& p, Side side) {
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (p[sq] == sideValue(side) + kKing) return sq;
    }
    return 0;
}

bool isSquareAttacked(const Position& p, int32_t square, Side attacker) {
    const int32_t sign = attacker == Side::Lower ? 1 : -1;
    const int32_t base = sideValue(attacker);
    // Stepping pieces, knights included.
    for (const int32_t d : {-12, -11, -10, -9, -8, -1, 1, 8, 9, 10, 11, 12}) {
        const int32_t from = square - d;
        if (!inBoardCells(from)) continue;
        const int32_t v = p[from];
        if (isOwnPiece(v, attacker) && stepsBy(v - base, sign * d)) return true;
    }
    // Sliding pieces: the first piece met along each line.
    for (const int32_t d : {-11, -10, -9, -1, 1, 9, 10, 11}) {
        int32_t from = square - d;
        while (inBoardCells(from) && p[from] == kEmpty) from -= d;
        if (!inBoardCells(from) || !isOwnPiece(p[from], attacker)) continue;
        const int32_t own = p[from] - base;
        const Movement& m = kMovements.byCode[own];
        for (int32_t i = 0; i < m.rayCount; ++i) {
            if (sign * m.rays[i] == d) return true;
        }
    }
    return false;
}

int32_t attackersOf(const Position& p, int32_t square, Side attacker, int32_t (&out)[kMaxAttackers]) {
    const int32_t sign = attacker == Side::Lower ? 1 : -1;
    const int32_t base = sideValue(attacker);
    int32_t n = 0;
    for (const int32_t d : {-12, -11, -10, -9, -8, -1, 1, 8, 9, 10, 11, 12}) {
        const int32_t from = square - d;
        if (!inBoardCells(from)) continue;
        const int32_t v = p[from];
        if (isOwnPiece(v, attacker) && stepsBy(v - base, sign * d)) out[n++] = from;
    }
    for (const int32_t d : {-11, -10, -9, -1, 1, 9, 10, 11}) {
        int32_t from = square - d;
        while (inBoardCells(from) && p[from] == kEmpty) from -= d;
        if (!inBoardCells(from) || !isOwnPiece(p[from], attacker)) continue;
        const Movement& m = kMovements.byCode[p[from] - base];
        for (int32_t i = 0; i < m.rayCount; ++i) {
            if (sign * m.rays[i] == d) out[n++] = from;
        }
    }
    return n;
}

bool isInCheck(const Position& p, Side side) {
    const int32_t king = findKing(p, side);
    return king != 0 && isSquareAttacked(p, king, opponentOf(side));
}

void generateBoardMoves(const Position& p, Side side, MoveList& out) { boardMoves(p, side, out); }

void generateDrops(const Position& p, Side side, MoveList& out) { drops(p, side, out); }

bool isPawnDropMate(const Position& position, Side side, const Move& m) {
    if (!isDrop(m) || m.from - (side == Side::Lower ? kLowerHandBase : kUpperHandBase) != kPawn) return false;
    const int32_t target = destinationOf(m) + forwardOf(side);
    if (!inBoardCells(target) || position[target] != sideValue(opponentOf(side)) + kKing) return false;
    Position p = position;
    return pawnDropMates(p, side, m);
}

void generateLegalMoves(const Position& position, Side side, MoveList& list) {
    // Generated into `list` and filtered in place: a move list is large to
    // set up, and the search asks for this at every node in check.
    list.count = 0;
    Position p = position;
    boardMoves(p, side, list);
    drops(p, side, list);
    const int32_t king = findKing(p, side);
    // In check a drop can only block: those elsewhere need no test.
    const bool check = king != 0 && isSquareAttacked(p, king, opponentOf(side));
    const std::array<bool, kBoardCells> blocking = check ? blockingSquares(p, king) : std::array<bool, kBoardCells>{};
    int32_t kept = 0;
    for (int32_t i = 0; i < list.count; ++i) {
        const Move m = list.moves[i];
        if (check && isDrop(m) && !blocking[static_cast<size_t>(destinationOf(m))]) continue;
        if (!leavesKingSafe(p, side, m, king)) continue;
        if (isDrop(m) && m.from - (side == Side::Lower ? kLowerHandBase : kUpperHandBase) == kPawn &&
            pawnDropMates(p, side, m)) {
            continue;
        }
        list.moves[kept++] = m;
    }
    list.count = kept;
}

bool isLegalMove(const Position& p, Side side, const Move& m) {
    MoveList list;
    generateLegalMoves(p, side, list);
    return list.contains(m);
}

uint64_t perft(Position& p, Side side, int depth) {
    if (depth <= 0) return 1;
    MoveList list;
    generateLegalMoves(p, side, list);
    if (depth == 1) return static_cast<uint64_t>(list.count);
    uint64_t total = 0;
    for (const Move& m : list) {
        const int32_t captured = applyMove(p, side, m);
        total += perft(p, opponentOf(side), depth - 1);
        undoMove(p, side, m, captured);
    }
    return total;
}

}  // namespace nusari
