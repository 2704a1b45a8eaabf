#include "sfen.h"

#include <cctype>
#include <vector>

#include "legal_moves.h"
#include "position.h"

namespace nusari {

namespace {

constexpr char kKindLetters[] = "KRBGSNLP";  // indexed by kind

int32_t kindOfLetter(char c) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (int32_t k = 0; k < 8; ++k) {
        if (kKindLetters[k] == upper) return k;
    }
    return -1;
}

char letterOf(int32_t kind, Side side) {
    const char c = kKindLetters[kind];
    return side == Side::Lower ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::vector<std::string_view> splitSpaces(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) parts.push_back(text.substr(start, i - start));
    }
    return parts;
}

bool parseBoard(std::string_view board, Position& p, std::string& error) {
    int32_t rank = 1;
    int32_t file = 9;
    bool promote = false;
    for (const char c : board) {
        if (c == '/') {
            if (file != 0 || promote) {
                error = "SFEN rank " + std::to_string(rank) + " does not have nine squares";
                return false;
            }
            if (++rank > 9) {
                error = "SFEN board has more than nine ranks";
                return false;
            }
            file = 9;
        } else if (c >= '1' && c <= '9') {
            if (promote || c - '0' > file) {
                error = "SFEN rank " + std::to_string(rank) + " has more than nine squares";
                return false;
            }
            file -= c - '0';
        } else if (c == '+') {
            if (promote) {
                error = "SFEN board has a doubled '+'";
                return false;
            }
            promote = true;
        } else {
            const int32_t kind = kindOfLetter(c);
            if (kind < 0) {
                error = std::string("SFEN board has an unknown piece letter '") + c + "'";
                return false;
            }
            if (file < 1) {
                error = "SFEN rank " + std::to_string(rank) + " has more than nine squares";
                return false;
            }
            if (promote && (kind == kKing || kind == kGold)) {
                error = std::string("SFEN piece '") + c + "' cannot be promoted";
                return false;
            }
            const int32_t side = std::isupper(static_cast<unsigned char>(c)) ? kLowerSide : kUpperSide;
            p[squareOf(file, rank)] = side + kind + (promote ? kPromotedFlag : 0);
            promote = false;
            --file;
        }
    }
    if (rank != 9 || file != 0 || promote) {
        error = "SFEN board must have nine ranks of nine squares";
        return false;
    }
    return true;
}

bool parseHands(std::string_view hands, Position& p, std::string& error) {
    if (hands == "-") return true;
    int32_t count = 0;
    bool haveCount = false;
    for (const char c : hands) {
        if (c >= '0' && c <= '9') {
            count = count * 10 + (c - '0');
            haveCount = true;
            if (count > 18) {
                error = "SFEN hand count is larger than 18";
                return false;
            }
            continue;
        }
        const int32_t kind = kindOfLetter(c);
        if (kind <= kKing) {
            error = std::string("SFEN hand has an unknown piece letter '") + c + "'";
            return false;
        }
        if (haveCount && count == 0) {
            error = "SFEN hand count is zero";
            return false;
        }
        const int32_t base =
            std::isupper(static_cast<unsigned char>(c)) ? kLowerHandBase : kUpperHandBase;
        p[base + kind] += haveCount ? count : 1;
        if (p[base + kind] > 18) {
            error = "SFEN hand count is larger than 18";
            return false;
        }
        count = 0;
        haveCount = false;
    }
    if (haveCount) {
        error = "SFEN hand ends with a number";
        return false;
    }
    return true;
}

std::string squareText(int32_t sq) {
    return std::string{static_cast<char>('0' + fileOf(sq)), static_cast<char>('a' + rankOf(sq) - 1)};
}

int32_t parseSquare(std::string_view s) {
    if (s.size() != 2 || s[0] < '1' || s[0] > '9' || s[1] < 'a' || s[1] > 'i') return 0;
    return squareOf(s[0] - '0', s[1] - 'a' + 1);
}

}  // namespace

std::string toSfen(const Position& p, Side toMove, int moveNumber) {
    std::string out;
    for (int32_t rank = 1; rank <= 9; ++rank) {
        if (rank > 1) out += '/';
        int32_t empties = 0;
        for (int32_t file = 9; file >= 1; --file) {
            const int32_t v = p[squareOf(file, rank)];
            if (!isValidPieceCode(v)) {
                ++empties;
                continue;
            }
            if (empties > 0) out += static_cast<char>('0' + empties);
            empties = 0;
            if (isPromoted(v)) out += '+';
            out += letterOf(kindOf(v), sideOf(v) == kLowerSide ? Side::Lower : Side::Upper);
        }
        if (empties > 0) out += static_cast<char>('0' + empties);
    }
    out += toMove == Side::Lower ? " b " : " w ";
    std::string hands;
    for (const Side side : {Side::Lower, Side::Upper}) {
        const int32_t base = side == Side::Lower ? kLowerHandBase : kUpperHandBase;
        for (int32_t kind = kRook; kind <= kPawn; ++kind) {
            const int32_t n = p[base + kind];
            if (n <= 0) continue;
            if (n > 1) hands += std::to_string(n);
            hands += letterOf(kind, side);
        }
    }
    out += hands.empty() ? "-" : hands;
    out += ' ' + std::to_string(moveNumber);
    return out;
}

bool parseSfen(std::string_view text, Position& p, Side& toMove, std::string& error) {
    std::vector<std::string_view> parts = splitSpaces(text);
    if (!parts.empty() && parts[0] == "sfen") parts.erase(parts.begin());
    if (parts.size() < 3 || parts.size() > 4) {
        error = "SFEN needs a board, a side to move, hands and an optional move number";
        return false;
    }
    Position q;
    for (int32_t i = 0; i <= kLastBoardCell; ++i) q[i] = kOffBoard;
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (isSquare(sq)) q[sq] = kEmpty;
    }
    if (!parseBoard(parts[0], q, error)) return false;
    if (parts[1] != "b" && parts[1] != "w") {
        error = "SFEN side to move must be 'b' or 'w'";
        return false;
    }
    if (!parseHands(parts[2], q, error)) return false;
    if (parts.size() == 4) {
        for (const char c : parts[3]) {
            if (c < '0' || c > '9') {
                error = "SFEN move number is not a number";
                return false;
            }
        }
    }
    p = q;
    toMove = parts[1] == "b" ? Side::Lower : Side::Upper;
    return true;
}

std::string moveToUsi(const Move& m, Side mover) {
    const int32_t to = destinationOf(m);
    if (m.from < kFirstSquare || !isSquare(to)) return "resign";
    if (isDrop(m)) {
        const int32_t base = mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
        const int32_t kind = m.from - base;
        if (kind < kRook || kind > kPawn) return "resign";
        return std::string{kKindLetters[kind], '*'} + squareText(to);
    }
    return squareText(m.from) + squareText(to) + (isPromotion(m) ? "+" : "");
}

bool parseUsiMove(std::string_view text, Side mover, Move& m) {
    if (text.size() == 4 && text[1] == '*') {
        const int32_t kind = kindOfLetter(text[0]);
        const int32_t to = parseSquare(text.substr(2));
        if (kind <= kKing || to == 0 || !std::isupper(static_cast<unsigned char>(text[0]))) {
            return false;
        }
        const int32_t base = mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
        m = Move{base + kind, to};
        return true;
    }
    if (text.size() != 4 && !(text.size() == 5 && text[4] == '+')) return false;
    const int32_t from = parseSquare(text.substr(0, 2));
    const int32_t to = parseSquare(text.substr(2, 2));
    if (from == 0 || to == 0) return false;
    m = Move{from, to + (text.size() == 5 ? kPromotionOffset : 0)};
    return true;
}

std::vector<Move> usiMoveLine(Position p, Side toMove, const std::vector<std::string>& words) {
    std::vector<Move> line;
    for (const std::string& word : words) {
        Move m;
        if (!parseUsiMove(word, toMove, m) || !isLegalMove(p, toMove, m)) break;
        line.push_back(m);
        applyMove(p, toMove, m);
        toMove = opponentOf(toMove);
    }
    return line;
}

}  // namespace nusari
