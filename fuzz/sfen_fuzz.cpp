// SFEN positions and USI move texts. The first line is a position ("sfen"
// optional); every word after it is a move, played when it is legal.
#include "fuzz_support.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/position_check.h"
#include "position/sfen.h"

namespace {

using namespace nusari;

// The written position reads back to itself, and writes the same text.
void checkSfenRoundTrip(const Position& p, Side side) {
    const std::string text = toSfen(p, side, 7);
    Position q;
    Side back = opponentOf(side);
    std::string error;
    FUZZ_CHECK(parseSfen(text, q, back, error));
    FUZZ_CHECK(q == p);
    FUZZ_CHECK(back == side);
    FUZZ_CHECK(toSfen(q, back, 7) == text);
}

// Every generated move leaves the mover's only king safe, undoes exactly and
// survives its USI text.
void checkLegalMoves(Position& p, Side side) {
    static MoveList list;
    generateLegalMoves(p, side, list);
    const Position before = p;
    // With two kings of a side only one is kept safe.
    const int32_t king = side == Side::Lower ? kLowerKing : kUpperKing;
    int32_t kings = 0;
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) kings += isSquare(sq) && p[sq] == king;
    const bool oneKing = kings == 1;
    for (const Move& m : list) {
        Move parsed;
        FUZZ_CHECK(parseUsiMove(moveToUsi(m, side), side, parsed));
        FUZZ_CHECK(parsed == m);
        const int32_t captured = applyMove(p, side, m);
        FUZZ_CHECK(!oneKing || !isInCheck(p, side));
        undoMove(p, side, m, captured);
        FUZZ_CHECK(p == before);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::size_t lineEnd = std::min(input.find('\n'), input.size());
    Position p;
    p[50] = 12345;  // a failed parse must leave these alone
    Side side = Side::Upper;
    std::string error;
    if (!parseSfen(input.substr(0, lineEnd), p, side, error)) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(p[50] == 12345 && side == Side::Upper);
        return 0;
    }
    checkSfenRoundTrip(p, side);
    checkLegalMoves(p, side);
    // The check of a set-up position takes whatever a SFEN can say, and a
    // position it lets through has the waiting king on the board, unattacked.
    if (const auto broken = CheckSetUpPosition(p, side)) {
        FUZZ_CHECK(!broken->empty());
    } else {
        FUZZ_CHECK(findKing(p, opponentOf(side)) != 0 && !isInCheck(p, opponentOf(side)));
    }
    std::string_view rest = input.substr(std::min(lineEnd + 1, input.size()));
    while (!rest.empty()) {
        const std::size_t start = rest.find_first_not_of(" \n");
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find_first_of(" \n"), rest.size());
        const std::string_view word = rest.substr(0, end);
        rest.remove_prefix(end);
        Move m;
        if (!parseUsiMove(word, side, m)) continue;
        FUZZ_CHECK(moveToUsi(m, side) == word);
        if (!isLegalMove(p, side, m)) continue;
        applyMove(p, side, m);
        side = opponentOf(side);
        // A board read with more pieces than a set holds may capture past
        // the 18 a SFEN hand can say, or take one of a side's two kings
        // into the hand (cells 111 and 119), which no SFEN can say.
        bool handsFit = p[kLowerHandBase + kKing] == 0 && p[kUpperHandBase + kKing] == 0;
        for (int32_t cell = kLowerHandBase + kRook; cell < kPositionCells; ++cell) {
            handsFit = handsFit && (cell == kUpperTimeCell || p[cell] <= 18);
        }
        if (handsFit) checkSfenRoundTrip(p, side);
        checkLegalMoves(p, side);
    }
    return 0;
}
