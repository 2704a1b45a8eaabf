#include "records/ki2_moves.h"

#include <array>

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

int32_t sign(int32_t v) {
    return (v > 0) - (v < 0);
}

// Where `from` stands across the files, as the mover sees it: 1 to the
// right of `to`, 0 on its file, -1 to the left.
int32_t fileSide(Side mover, int32_t from, int32_t to) {
    return sign(rightwardness(mover, from) - rightwardness(mover, to));
}

// The squares other than `from` from which a piece of the mover's of code
// `piece` (the lower side's code) could move to `to` by the rules of
// movement alone: a pin or a check does not count, as in the notation.
int32_t otherAttackers(const Position& p, Side mover, int32_t piece, int32_t from, int32_t to,
                       std::array<int32_t, 16>& out) {
    // A king replaced by a gold leaves the generator no king to keep safe.
    Position q = p;
    std::array<bool, kBoardCells> replaced{};
    const int32_t king = mover == Side::Lower ? kLowerKing : kUpperKing;
    if (piece != kKing) {
        for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
            if (!isSquare(sq) || q[sq] != king) continue;
            q[sq] = mover == Side::Lower ? kLowerGold : kUpperGold;
            replaced[static_cast<std::size_t>(sq)] = true;
        }
    }
    MoveList moves;
    generateLegalMoves(q, mover, moves);
    int32_t count = 0;
    for (const Move& c : moves) {
        if (isDrop(c) || destinationOf(c) != to || c.from == from) continue;
        if (replaced[static_cast<std::size_t>(c.from)] || (q[c.from] & 15) != piece) continue;
        bool seen = false;
        for (int32_t k = 0; k < count; ++k) seen = seen || out[static_cast<std::size_t>(k)] == c.from;
        if (!seen && count < 16) out[static_cast<std::size_t>(count++)] = c.from;
    }
    return count;
}

// The standard words for a board move of `piece` from `from` to `to`.
std::string directionWords(const Position& p, Side mover, int32_t piece, int32_t from, int32_t to) {
    std::array<int32_t, 16> others{};
    const int32_t count = otherAttackers(p, mover, piece, from, to, others);
    if (count == 0) return {};
    const int32_t mySide = fileSide(mover, from, to);
    const int32_t myStep = sign(forwardSteps(mover, from, to));
    bool sameStep = false;   // another piece moves as far forward or back
    bool sameSide = false;   // another piece stands on the same side of the file
    int32_t otherSide = 0;   // the side of the first piece that moves alike
    for (int32_t k = 0; k < count; ++k) {
        const int32_t square = others[static_cast<std::size_t>(k)];
        if (sign(forwardSteps(mover, square, to)) == myStep) {
            if (!sameStep) otherSide = fileSide(mover, square, to);
            sameStep = true;
        }
        if (fileSide(mover, square, to) == mySide) sameSide = true;
    }
    std::string words;
    bool vertical = sameSide || !sameStep;
    if (sameStep) {
        if (piece == kLowerDragon || piece == kLowerHorse) {
            // Two at most: the one on the right and the one on the left.
            if (mySide > 0 || (mySide == 0 && otherSide < 0)) {
                words += cp("右");
            } else if (mySide < 0 || (mySide == 0 && otherSide > 0)) {
                words += cp("左");
            }
        } else if (mySide > 0) {
            words += cp("右");
        } else if (mySide < 0) {
            words += cp("左");
        } else {
            // Straight forward: only one piece of a kind can come from there.
            words += cp("直");
            vertical = false;
        }
    }
    if (vertical) words += cp(myStep > 0 ? "上" : myStep == 0 ? "寄" : "引");
    return words;
}

// True when our KI2 reader takes `text` for `m`.
bool readsAs(const Position& p, Side mover, std::string_view text, int32_t to, const Move& m) {
    Ki2Move parsed;
    parsed.mover = mover;
    std::size_t at = 0;
    if (!parseKanjiMove(text, at, parsed) || at != text.size()) return false;
    parsed.to = to;
    Move found;
    return resolveKi2Move(p, parsed, found) && found == m;
}

}  // namespace

std::string ki2MoveText(const Position& p, const Move& m, Side mover, int32_t previousTo) {
    const int32_t to = destinationOf(m);
    const std::string head = to == previousTo ? cp("同　") : kifSquareName(to);
    if (isDrop(m)) {
        const int32_t kind = m.from - (mover == Side::Lower ? kLowerHandBase : kUpperHandBase);
        const std::string plain = head + kifPieceName(kind);
        return readsAs(p, mover, plain, to, m) ? plain : plain + cp("打");
    }
    const int32_t piece = p[m.from] & 15;
    const auto inZone = [mover](int32_t square) {
        return mover == Side::Lower ? rankOf(square) <= 3 : rankOf(square) >= 7;
    };
    const bool declined = !isPromotion(m) && !isPromoted(piece) && kindOf(piece) != kKing &&
                          kindOf(piece) != kGold && (inZone(m.from) || inZone(to));
    const std::string suffix = isPromotion(m) ? cp("成") : declined ? cp("不成") : std::string();
    const std::string name = head + kifPieceName(piece);
    const std::string standard = name + directionWords(p, mover, piece, m.from, to) + suffix;
    if (readsAs(p, mover, standard, to, m)) return standard;
    // Words our reader needs where the standard ones leave it unsure.
    static const char* const kFallbacks[] = {"",     "上",   "引",   "寄",   "直",   "右",   "左",
                                             "右上", "右引", "右寄", "左上", "左引", "左寄"};
    for (const char* words : kFallbacks) {
        const std::string text = name + cp(words) + suffix;
        if (readsAs(p, mover, text, to, m)) return text;
    }
    return standard;
}

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
