#include "records/csa_writer.h"

#include <algorithm>
#include <utility>

#include "position/csa_notation.h"
#include "position/position.h"
#include "records/crlf_text.h"
#include "records/record_messages.h"
#include "records/record_source.h"
#include "records/record_writer.h"

namespace nusari {

namespace {

using CsaText = CrLfText;

std::string twoDigits(int32_t n) {
    return std::string{static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

// The start position's nine rows and the hands, the first player as "+".
void writePosition(CsaText& out, const Position& start) {
    for (int32_t rank = 1; rank <= 9; ++rank) {
        std::string row = "P";
        row += static_cast<char>('0' + rank);
        for (int32_t file = 9; file >= 1; --file) {
            const int32_t cell = start[squareOf(file, rank)];
            if (!isValidPieceCode(cell)) {
                row += " * ";
            } else {
                row += isUpperPiece(cell) ? "-" : "+";
                row += csaPieceName(cell);
            }
        }
        out.line(row);
    }
    for (const auto& [sign, base] :
         {std::pair{"P+", kLowerHandBase}, std::pair{"P-", kUpperHandBase}}) {
        for (int32_t kind = kRook; kind <= kPawn; ++kind) {
            const int32_t count = start[base + kind];
            if (count <= 0) continue;
            std::string hand = sign;
            for (int32_t k = 0; k < count; ++k) hand += std::string("00") + csaPieceName(kind);
            out.line(hand);
        }
    }
}

}  // namespace

// The "%" word of a game's end, or "" when the record says nothing of it.
std::string endingWord(const GameRecord& record, int32_t length) {
    switch (record.ending) {
        case GameEnding::None:
            return {};
        case GameEnding::Resign:
            return "%TORYO";
        case GameEnding::Interrupt:
            return "%CHUDAN";
        case GameEnding::Repetition:
            return "%SENNICHITE";
        case GameEnding::Impasse:
            return "%JISHOGI";
        case GameEnding::Mate:
            return "%TSUMI";
        case GameEnding::TimeUp:
            return "%TIME_UP";
        case GameEnding::FoulLoss:
            return "%ILLEGAL_MOVE";
        case GameEnding::FoulWin:
            // The side that made the last ply fouled.
            return standardSideToMove(record, length) == Side::Lower ? "%-ILLEGAL_ACTION"
                                                                     : "%+ILLEGAL_ACTION";
        case GameEnding::EnteringKingWin:
            return "%KACHI";
        case GameEnding::Draw:
            return "%HIKIWAKE";
        // A record of positions cannot say who gave the checks: the
        // repetition is written, and the referee's outcome names the loser.
        case GameEnding::PerpetualCheck:
            return "%SENNICHITE";
        case GameEnding::PlyLimit:
            return "%JISHOGI";
        case GameEnding::BadDeclaration:
            return "%ILLEGAL_MOVE";
        case GameEnding::PlayerGone:
            // The side to move has gone.
            return standardSideToMove(record, length) == Side::Lower ? "%+ILLEGAL_ACTION"
                                                                     : "%-ILLEGAL_ACTION";
        case GameEnding::NoAnswer:
            return "%TIME_UP";
    }
    return {};
}

std::string FormatCsa(const GameRecord& record) {
    CsaText out;
    out.own("'-----------------csa-----------------");
    out.own("'by ぬさり将棋");
    out.own("'バージョン");
    out.own("V2");
    out.own("'対局者名");
    out.line("N+" + std::string(nameOf(record.firstName)));
    out.line("N-" + std::string(nameOf(record.secondName)));
    out.own("'開始日時");
    out.line("$START_TIME:" + record.startTime);
    out.own("'終了日時");
    out.line("$END_TIME:" + record.endTime);
    out.own("'開始局面");

    // The file shows the standard diagram: when the history is turned (the
    // computer was 先手) it is turned back, squares and all.
    writePosition(out, standardEntry(record, 0));
    const bool senteFirst = senteMovesFirst(record);
    out.own(senteFirst ? "'先手番" : "'後手番");
    out.own(senteFirst ? "+" : "-");

    const int32_t length = std::clamp(record.length, 0, kMaxRecordPlies);
    for (int32_t i = 1; i <= length; ++i) {
        const Position& before = record.history[i - 1];
        const Position& after = record.history[i];
        const PlySquares ply = plySquares(before, after);
        std::string move = standardSideToMove(record, i - 1) == Side::Lower ? "+" : "-";
        move += twoDigits(standardSquare(record, ply.from));
        move += twoDigits(standardSquare(record, ply.to));
        move += csaPieceName(after[ply.to]);
        out.line(move);
        const int32_t cell = timeCellOfPly(record, i);
        const int64_t seconds = static_cast<int64_t>(after[cell]) - before[cell];
        // Appended rather than joined: GCC 12 warns falsely on "T" + text.
        std::string time = "T";
        time += std::to_string(seconds);
        out.line(time);
    }
    if (const std::string word = endingWord(record, length); !word.empty()) out.line(word);
    return out.take();
}

int32_t WriteCsa(const GameRecord& record, const std::string& path, Ui& ui) {
    if (recordFormatOf(path) != RecordFormat::Csa) {
        showError(ui, kWriteFormatMessage);
        return -1;
    }
    return WriteRecord(record, path, ui);
}

}  // namespace nusari
