#include "records/csa_writer.h"

#include <algorithm>
#include <utility>

#include "position/csa_notation.h"
#include "position/position.h"
#include "position/text_encoding.h"
#include "records/record_files.h"
#include "records/record_messages.h"

namespace nusari {

namespace {

class CsaText {
  public:
    // Appends CP932 bytes and the line end.
    void line(std::string_view cp932) {
        text_ += cp932;
        text_ += "\r\n";
    }
    // Appends one of the program's own UTF-8 texts as a line.
    void own(std::string_view utf8) { line(toCp932(utf8)); }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

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

    // When the human is second the first player is the upper side: the
    // record is turned to the first player's view.
    const bool turned = record.humanIsSecond != 0;
    writePosition(out, turned ? flipPosition(record.history[0]) : record.history[0]);
    out.own("'先手番");
    out.own("+");

    const int32_t firstTimeCell = turned ? kUpperTimeCell : kLowerTimeCell;
    const int32_t secondTimeCell = turned ? kLowerTimeCell : kUpperTimeCell;
    const int32_t length = std::clamp(record.length, 0, kMaxRecordPlies);
    for (int32_t i = 1; i <= length; ++i) {
        const Position& before = record.history[i - 1];
        const Position& after = record.history[i];
        const PlySquares ply = plySquares(before, after);
        auto written = [turned](int32_t s) { return s == 0 || !turned ? s : 110 - s; };
        const bool first = i % 2 == 1;
        std::string move = first ? "+" : "-";
        move += twoDigits(written(ply.from));
        move += twoDigits(written(ply.to));
        move += csaPieceName(after[ply.to]);
        out.line(move);
        const int32_t cell = first ? firstTimeCell : secondTimeCell;
        const int64_t seconds = static_cast<int64_t>(after[cell]) - before[cell];
        std::string time = "T";
        time += std::to_string(seconds);
        out.line(time);
    }
    return out.take();
}

int32_t WriteCsa(const GameRecord& record, const std::string& path, Ui& ui) {
    const std::string_view extension = fileExtension(path);
    if (extension != ".csa" && extension != ".CSA") {
        showError(ui, kWriteFormatMessage);
        return -1;
    }
    if (!writeFileReplacing(path, FormatCsa(record))) {
        showError(ui, kWriteErrorMessage + path);
        return -1;
    }
    return 1;
}

}  // namespace nusari
