#include "records/csa_writer.h"

#include <algorithm>
#include <utility>

#include "position/csa_notation.h"
#include "position/position.h"
#include "position/text_encoding.h"
#include "records/crlf_text.h"
#include "records/csa_headers.h"
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


// One line of UTF-8 text as CP932, up to its first line feed.
std::string csaLine(std::string_view utf8) {
    return toCp932(utf8.substr(0, std::min(utf8.find('\n'), utf8.size())));
}

// The comment lines of a node ("'*"), then its engine score ("'**").
void writeNotes(CsaText& out, const RecordNode& n) {
    if (!n.comment.empty()) {
        std::size_t from = 0;
        for (;;) {
            const std::size_t end = n.comment.find('\n', from);
            std::string text = "'*";
            text += toCp932(std::string_view(n.comment).substr(from, end - from));
            out.line(text);
            if (end == std::string::npos) break;
            from = end + 1;
        }
    }
    if (n.hasScore) out.line("'** " + std::to_string(n.score));
}

// The "%" word of a game's end after the last move, which leaves `toMove`
// to move, or "" when the record says nothing of it.
std::string endingWord(GameEnding ending, Side toMove) {
    switch (ending) {
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
            return toMove == Side::Lower ? "%-ILLEGAL_ACTION" : "%+ILLEGAL_ACTION";
        case GameEnding::EnteringKingWin:
            return "%KACHI";
        case GameEnding::Draw:
            return "%HIKIWAKE";
        case GameEnding::PerpetualCheck:
            // The side to move gave the checks.
            return toMove == Side::Lower ? "%+ILLEGAL_ACTION" : "%-ILLEGAL_ACTION";
        case GameEnding::PlyLimit:
            return "%JISHOGI";
        case GameEnding::BadDeclaration:
            return "%ILLEGAL_MOVE";
        case GameEnding::PlayerGone:
            // The side to move has gone.
            return toMove == Side::Lower ? "%+ILLEGAL_ACTION" : "%-ILLEGAL_ACTION";
        case GameEnding::NoAnswer:
            return "%TIME_UP";
    }
    return {};
}

}  // namespace

std::string FormatCsa(const RecordTree& tree, const char* version) {
    CsaText out;
    out.own("'-----------------csa-----------------");
    out.own("'by ぬさり将棋");
    out.own("'バージョン");
    out.own(version);
    out.own("'対局者名");
    out.line("N+" + csaLine(tree.firstName));
    out.line("N-" + csaLine(tree.secondName));
    out.own("'開始日時");
    out.line("$START_TIME:" + csaLine(tree.header("開始日時")));
    out.own("'終了日時");
    out.line("$END_TIME:" + csaLine(tree.header("終了日時")));
    // The other metadata that CSA has keys for; the first start and end
    // times are written above.
    bool startWritten = false;
    bool endWritten = false;
    for (const RecordHeader& h : tree.headers) {
        if (h.key == "開始日時" && !startWritten) {
            startWritten = true;
            continue;
        }
        if (h.key == "終了日時" && !endWritten) {
            endWritten = true;
            continue;
        }
        const std::string key = csaKeyOfKif(h.key);
        const std::string value = csaLine(h.value);
        if (!key.empty() && !value.empty()) out.line("$" + key + ":" + value);
    }
    out.own("'開始局面");

    writePosition(out, tree.start());
    const bool senteFirst = tree.firstMover() == Side::Lower;
    out.own(senteFirst ? "'先手番" : "'後手番");
    out.own(senteFirst ? "+" : "-");
    writeNotes(out, tree.node(kRootNode));

    // CSA holds one line: the main line.
    Position p = tree.start();
    Side mover = tree.firstMover();
    for (const NodeId id : tree.mainLine()) {
        const RecordNode& n = tree.node(id);
        std::string move = mover == Side::Lower ? "+" : "-";
        move += twoDigits(isDrop(n.move) ? 0 : n.move.from);
        move += twoDigits(destinationOf(n.move));
        applyMove(p, mover, n.move);
        move += csaPieceName(p[destinationOf(n.move)]);
        out.line(move);
        if (n.timeMs != kUnknownTime) {
            // Appended rather than joined: GCC 12 warns falsely on "T" + text.
            std::string time = "T";
            time += std::to_string(n.timeMs / 1000);
            out.line(time);
        }
        writeNotes(out, n);
        mover = opponentOf(mover);
    }
    const NodeId last = tree.mainLineEnd();
    if (const std::string word = endingWord(tree.node(last).ending, tree.sideToMoveAt(last));
        !word.empty()) {
        out.line(word);
    }
    return out.take();
}

std::string FormatCsa(const GameRecord& record) {
    RecordTree tree;
    recordToTree(record, tree);
    return FormatCsa(tree);
}

int32_t WriteCsa(const GameRecord& record, const std::string& path, Ui& ui) {
    if (recordFormatOf(path) != RecordFormat::Csa) {
        showError(ui, kWriteFormatMessage);
        return -1;
    }
    return WriteRecord(record, path, ui);
}

}  // namespace nusari
