#include "usi/usi_game.h"

#include <algorithm>

#include "position/legal_moves.h"
#include "position/position.h"
#include "position/sfen.h"
#include "position/text_encoding.h"
#include "records/kif_notation.h"

namespace nusari {

std::string UsiPositionCommand(const GameRecord& record, int32_t plies) {
    plies = std::clamp(plies, 0, kMaxRecordPlies);
    std::string text = "position sfen ";
    text += toSfen(standardEntry(record, 0), standardSideToMove(record, 0), 1);
    if (plies == 0) return text;
    text += " moves";
    Position before = standardEntry(record, 0);
    for (int32_t ply = 1; ply <= plies; ++ply) {
        const Position after = standardEntry(record, ply);
        const Side mover = standardSideToMove(record, ply - 1);
        text += ' ';
        text += moveToUsi(moveOfPly(before, after, mover), mover);
        before = after;
    }
    return text;
}

UsiGo UsiGoCommand(const GameRecord& record, int32_t plies, int32_t limitMs, bool csaTimeMode) {
    UsiGo go;
    if (!csaTimeMode) {
        go.command = "go btime 0 wtime 0 byoyomi " + std::to_string(limitMs);
        go.waitMs = limitMs + kAnswerMarginMs;
        return go;
    }
    // The history keeps each side's thinking seconds in the controller's
    // frame: the lower side's in cell 111, the upper side's in 119.
    const Position& entry = record.history[static_cast<std::size_t>(std::clamp(plies, 0, kMaxRecordPlies))];
    auto left = [](int32_t usedSeconds) {
        return std::max<int64_t>(0, kCsaModeGameMs - int64_t{usedSeconds} * 1000);
    };
    const int64_t lower = left(entry[kLowerTimeCell]);
    const int64_t upper = left(entry[kUpperTimeCell]);
    const bool lowerIsSente = record.boardTurned == 0;
    const int64_t black = lowerIsSente ? lower : upper;
    const int64_t white = lowerIsSente ? upper : lower;
    go.command = "go btime " + std::to_string(black);
    go.command += " wtime " + std::to_string(white);
    go.command += " byoyomi 0";
    const bool senteToMove = standardSideToMove(record, plies) == Side::Lower;
    go.waitMs = (senteToMove ? black : white) + kAnswerMarginMs;
    return go;
}

std::optional<Move> UsiReplyMove(const GameRecord& record, const Position& board, Side boardMover,
                                 std::string_view word) {
    const bool turned = record.boardTurned != 0;
    const Side standardMover = turned ? opponentOf(boardMover) : boardMover;
    Move m;
    if (!parseUsiMove(word, standardMover, m)) return std::nullopt;
    if (turned) m = flipMove(m);
    if (!isLegalMove(board, boardMover, m)) return std::nullopt;
    return m;
}

std::string UsiVariationText(const GameRecord& record, int32_t plies,
                             const std::vector<std::string>& pv, std::size_t most) {
    plies = std::clamp(plies, 0, kMaxRecordPlies);
    Position p = standardEntry(record, plies);
    Side mover = standardSideToMove(record, plies);
    std::string text;
    int32_t lastTo = 0;
    for (std::size_t i = 0; i < pv.size() && i < most; ++i) {
        Move m;
        if (!parseUsiMove(pv[i], mover, m) || !isLegalMove(p, mover, m)) break;
        const int32_t to = destinationOf(m);
        const bool drop = isDrop(m);
        const int32_t piece = drop ? m.from - (mover == Side::Lower ? kLowerHandBase : kUpperHandBase) : p[m.from];
        std::string name = mover == Side::Lower ? "▲" : "△";
        name += to == lastTo ? "同" : toUtf8(kifSquareName(to));
        name += toUtf8(kifPieceName(piece & 15));
        if (isPromotion(m)) name += "成";
        if (drop) name += "打";
        if (!text.empty()) text += ' ';
        text += name;
        applyMove(p, mover, m);
        lastTo = to;
        mover = opponentOf(mover);
    }
    return text;
}

}  // namespace nusari
