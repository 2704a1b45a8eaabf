#include "think/move_stages.h"

#include <array>

#include "position/position.h"

namespace nusari {

namespace {

constexpr int32_t kDirections[8] = {-11, -10, -9, -1, 1, 9, 10, 11};

// Whether an enemy piece `v` on a line through the king in direction `d`
// (from the king towards it) attacks along that line from afar.
bool slidesAlong(int32_t v, int32_t d, Side king) {
    if (!isValidPieceCode(v)) return false;
    const bool enemy = sideOf(v) != static_cast<int32_t>(king);
    if (!enemy) return false;
    const int32_t own = v & 15;
    const bool diagonal = d == -11 || d == -9 || d == 9 || d == 11;
    if (diagonal) return own == kLowerBishop || own == kLowerHorse;
    if (own == kLowerRook || own == kLowerDragon) return true;
    // A lance attacks toward its far edge: the enemy's lance sees the king
    // when it stands on the king's file on the enemy's side of it.
    if (own != kLowerLance) return false;
    return king == Side::Lower ? d == -1 : d == 1;
}

// The squares of `side`'s pieces pinned to its king.
std::array<bool, kBoardCells> pinnedPieces(const Position& p, Side side, int32_t king) {
    std::array<bool, kBoardCells> pinned{};
    if (king == 0) return pinned;
    for (const int32_t d : kDirections) {
        int32_t own = 0;
        for (int32_t c = king + d; c >= 0 && c < kBoardCells && isSquare(c); c += d) {
            const int32_t v = p[c];
            if (v == kEmpty) continue;
            if (isValidPieceCode(v) && sideOf(v) == static_cast<int32_t>(side)) {
                if (own != 0) break;  // two of ours: nothing is pinned
                own = c;
                continue;
            }
            if (own != 0 && slidesAlong(v, d, side)) pinned[static_cast<size_t>(own)] = true;
            break;
        }
    }
    return pinned;
}

bool kingSafeAfter(const Position& p, Side side, const Move& m, int32_t king) {
    Position after = p;
    applyMove(after, side, m);
    const int32_t at = m.from == king ? destinationOf(m) : king;
    return at == 0 || !isSquareAttacked(after, at, opponentOf(side));
}

bool capturesOrPromotes(const Position& p, const Move& m) {
    return isPromotion(m) || p[destinationOf(m)] != kEmpty;
}

int32_t signOf(int32_t x) { return (x > 0) - (x < 0); }

// The moves out of check: the king's, and the others' only onto the
// checker or between it and the king, and none but the king's in a double
// check. Each is tested for the king's safety, as few moves reach the test.
void generateEvasions(const Position& p, Side side, MoveList& out) {
    const int32_t king = findKing(p, side);
    int32_t checkers[kMaxAttackers];
    const int32_t checkerCount = king == 0 ? 0 : attackersOf(p, king, opponentOf(side), checkers);
    // Without a king or a check, every legal move.
    if (checkerCount == 0) {
        generateLegalMoves(p, side, out);
        return;
    }
    std::array<bool, kBoardCells> target{};
    if (checkerCount == 1) {
        const int32_t c = checkers[0];
        const int32_t files = fileOf(c) - fileOf(king);
        const int32_t ranks = rankOf(c) - rankOf(king);
        if (files == 0 || ranks == 0 || files == ranks || files == -ranks) {
            const int32_t step = 10 * signOf(files) + signOf(ranks);
            for (int32_t cell = king + step; cell != c; cell += step) target[static_cast<size_t>(cell)] = true;
        }
        target[static_cast<size_t>(c)] = true;
    }
    generateBoardMoves(p, side, out);
    if (checkerCount == 1) {
        const int32_t boardCount = out.count;
        generateDrops(p, side, out);
        // Drops land on empty squares: the checker's is never among them.
        int32_t kept = boardCount;
        for (int32_t i = boardCount; i < out.count; ++i) {
            const Move m = out.moves[i];
            if (target[static_cast<size_t>(m.to)] && !isPawnDropMate(p, side, m)) out.moves[kept++] = m;
        }
        out.count = kept;
    }
    const std::array<bool, kBoardCells> pinned = pinnedPieces(p, side, king);
    int32_t kept = 0;
    for (int32_t i = 0; i < out.count; ++i) {
        const Move m = out.moves[i];
        if (!isDrop(m)) {
            if (m.from != king && !target[static_cast<size_t>(destinationOf(m))]) continue;
            if ((m.from == king || pinned[static_cast<size_t>(m.from)]) && !kingSafeAfter(p, side, m, king)) continue;
        }
        out.moves[kept++] = m;
    }
    out.count = kept;
}

}  // namespace

void GenerateStage(const Position& p, Side side, bool inCheck, MoveStage stage, MoveList& out) {
    out.count = 0;
    if (inCheck || stage == MoveStage::Evasions) {
        if (inCheck && stage == MoveStage::Evasions) generateEvasions(p, side, out);
        return;
    }
    // Generated into `out` and filtered in place: a move list is large to
    // set up, and this runs at every node of the search.
    if (stage == MoveStage::Drops) {
        generateDrops(p, side, out);
        // Out of check a drop never exposes the king.
        int32_t kept = 0;
        for (int32_t i = 0; i < out.count; ++i) {
            if (!isPawnDropMate(p, side, out.moves[i])) out.moves[kept++] = out.moves[i];
        }
        out.count = kept;
        return;
    }
    generateBoardMoves(p, side, out);
    const int32_t king = findKing(p, side);
    const std::array<bool, kBoardCells> pinned = pinnedPieces(p, side, king);
    const bool wantCaptures = stage == MoveStage::Captures;
    int32_t kept = 0;
    for (int32_t i = 0; i < out.count; ++i) {
        const Move m = out.moves[i];
        if (capturesOrPromotes(p, m) != wantCaptures) continue;
        // Only the king and pinned pieces can expose the king.
        if ((m.from == king || pinned[static_cast<size_t>(m.from)]) && !kingSafeAfter(p, side, m, king)) {
            continue;
        }
        out.moves[kept++] = m;
    }
    out.count = kept;
}

}  // namespace nusari
