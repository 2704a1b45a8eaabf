#include "records/ki2_moves.h"

#include "position/legal_moves.h"
#include "records/kif_notation.h"

namespace nusari {

namespace {

// Rank steps toward the mover's far side (positive = forward).
int32_t forwardSteps(Side mover, int32_t from, int32_t to) {
    const int32_t steps = rankOf(from) - rankOf(to);
    return mover == Side::Lower ? steps : -steps;
}

// Files toward the mover's right: the lower side's right is file 1.
int32_t rightwardness(Side mover, int32_t square) {
    return mover == Side::Lower ? -fileOf(square) : fileOf(square);
}

bool fitsDirection(const Ki2Move& m, const Move& candidate) {
    const int32_t to = destinationOf(candidate);
    const int32_t steps = forwardSteps(m.mover, candidate.from, to);
    if (m.forward && steps <= 0) return false;
    if (m.backward && steps >= 0) return false;
    if (m.sideways && steps != 0) return false;
    if (m.straight && (steps != 1 || fileOf(candidate.from) != fileOf(to))) return false;
    return true;
}

}  // namespace

bool parseKanjiMove(std::string_view line, std::size_t& at, Ki2Move& move) {
    std::size_t i = at;
    if (hasAt(line, cp("同"), i)) {
        move.to = 0;
        i += 2;
        if (hasAt(line, cp("　"), i)) i += 2;
    } else {
        // The file is a digit, full-width or ASCII; the rank a kanji numeral
        // or such a digit: ７六, 7六, ７６ and 76 name the same square.
        std::size_t width = 0;
        const int32_t file = kifDigitAt(line, i, width);
        if (file == 0) return false;
        i += width;
        int32_t rank = kifRankAt(line, i);
        if (rank != 0) {
            i += 2;
        } else {
            rank = kifDigitAt(line, i, width);
            if (rank == 0) return false;
            i += width;
        }
        move.to = squareOf(file, rank);
    }
    int32_t piece = kifPieceAt(line, i);
    if (piece == kKifPromoteMark) {
        const int32_t base = kifPieceAt(line, i + 2);
        if (base != kSilver && base != kKnight && base != kLance) return false;
        piece = base + kKifPromoteMark;
        i += 4;
    } else if (isValidPieceCode(piece)) {
        i += 2;
    } else {
        return false;
    }
    move.piece = piece;
    struct Word {
        const char* text;
        bool Ki2Move::*flag;
    };
    static const Word kWords[] = {
        {"右", &Ki2Move::right},   {"左", &Ki2Move::left},     {"直", &Ki2Move::straight},
        {"上", &Ki2Move::forward}, {"行", &Ki2Move::forward},  {"入", &Ki2Move::forward},
        {"引", &Ki2Move::backward}, {"寄", &Ki2Move::sideways}, {"打", &Ki2Move::drop},
        {"成", &Ki2Move::promote},
    };
    for (bool more = true; more;) {
        more = false;
        if (hasAt(line, cp("不成"), i) || hasAt(line, cp("生"), i)) {
            i += hasAt(line, cp("生"), i) ? 2 : 4;
            more = true;
            continue;
        }
        for (const Word& w : kWords) {
            if (!hasAt(line, cp(w.text), i)) continue;
            move.*(w.flag) = true;
            i += 2;
            more = true;
            break;
        }
    }
    at = i;
    return true;
}

bool resolveKi2Move(const Position& p, const Ki2Move& m, Move& out) {
    MoveList legal;
    generateLegalMoves(p, m.mover, legal);
    const int32_t handBase = m.mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
    Move found[16];
    int32_t count = 0;
    bool dropFound = false;
    Move drop{};
    for (const Move& c : legal) {
        if (destinationOf(c) != m.to) continue;
        if (isDrop(c)) {
            if (c.from - handBase == m.piece && !m.promote) {
                dropFound = true;
                drop = c;
            }
            continue;
        }
        if (m.drop || (p[c.from] & 15) != m.piece || isPromotion(c) != m.promote) continue;
        if (!fitsDirection(m, c) || count == 16) continue;
        found[count++] = c;
    }
    // Without 打 a drop is written plainly only when no piece on the board
    // could make the move.
    if (m.drop || count == 0) {
        out = drop;
        return dropFound;
    }
    if (m.right || m.left) {
        int32_t best = 0;
        for (int32_t k = 1; k < count; ++k) {
            const int32_t a = rightwardness(m.mover, found[k].from);
            const int32_t b = rightwardness(m.mover, found[best].from);
            if (m.right ? a > b : a < b) best = k;
        }
        const int32_t extreme = rightwardness(m.mover, found[best].from);
        int32_t kept = 0;
        for (int32_t k = 0; k < count; ++k) {
            if (rightwardness(m.mover, found[k].from) == extreme) found[kept++] = found[k];
        }
        count = kept;
    }
    if (count != 1) return false;
    out = found[0];
    return true;
}

}  // namespace nusari
