#include "records/kif_writer.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "position/setup.h"
#include "records/crlf_text.h"
#include "records/kif_notation.h"

namespace nusari {

namespace {

using KifText = CrLfText;

bool isEvenStart(const Position& p) {
    Position even;
    setupPosition(even, kPresetEven);
    return p == even;
}

// "( 0:05/00:01:23)": the ply's seconds and the mover's running total.
std::string timeColumn(int64_t seconds, int64_t total) {
    seconds = std::max<int64_t>(seconds, 0);
    total = std::max<int64_t>(total, 0);
    char text[64];
    std::snprintf(text, sizeof text, "(%2lld:%02lld/%02lld:%02lld:%02lld)",
                  static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60),
                  static_cast<long long>(total / 3600), static_cast<long long>(total / 60 % 60),
                  static_cast<long long>(total % 60));
    return text;
}

// The move number and the move, padded so that the times line up.
std::string moveLine(int32_t number, std::string move, const std::string& time) {
    char head[16];
    std::snprintf(head, sizeof head, "%4d ", number);
    if (move.size() < 14) move.append(14 - move.size(), ' ');
    return head + move + time;
}

void writeHand(KifText& out, const char* label, const Position& p, int32_t base) {
    std::string hand = cp(label);
    bool any = false;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        const int32_t count = p[base + kind];
        if (count <= 0) continue;
        hand += kifDiagramPiece(kind) + (count > 1 ? kifCountText(count) : "") + cp("　");
        any = true;
    }
    if (!any) hand += cp("なし");
    out.line(hand);
}

void writeDiagram(KifText& out, const Position& p, bool senteFirst) {
    writeHand(out, "後手の持駒：", p, kUpperHandBase);
    out.line("  " + cp("９ ８ ７ ６ ５ ４ ３ ２ １"));
    out.line("+---------------------------+");
    const char* ranks[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    for (int32_t rank = 1; rank <= 9; ++rank) {
        std::string row = "|";
        for (int32_t file = 9; file >= 1; --file) {
            const int32_t cell = p[squareOf(file, rank)];
            if (!isValidPieceCode(cell)) {
                row += " " + cp("・");
            } else {
                row += isUpperPiece(cell) ? "v" : " ";
                row += kifDiagramPiece(cell);
            }
        }
        out.line(row + "|" + cp(ranks[rank]));
    }
    out.line("+---------------------------+");
    writeHand(out, "先手の持駒：", p, kLowerHandBase);
    out.line(cp(senteFirst ? "先手番" : "後手番"));
}

// Ply i as its parts: destination (or 同), piece and 成 or 打; whether a
// promotion was declined; the origin square (0 for a drop).
struct PlyParts {
    std::string name;
    bool declined = false;
    int32_t origin = 0;
};

PlyParts plyParts(const GameRecord& record, int32_t i) {
    const Position& before = record.history[static_cast<std::size_t>(i - 1)];
    const Position& after = record.history[static_cast<std::size_t>(i)];
    const Side mover = moverOfPly(record, i);
    const Move m = moveOfPly(before, after, mover);
    const int32_t to = destinationOf(m);
    const int32_t previousTo =
        i >= 2 ? plySquares(record.history[static_cast<std::size_t>(i - 2)], before).to : 0;
    PlyParts parts;
    parts.name = to == previousTo ? cp("同　") : kifSquareName(standardSquare(record, to));
    if (isDrop(m)) {
        const int32_t base = mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
        parts.name += kifPieceName(m.from - base) + cp("打");
        return parts;
    }
    const int32_t piece = before[m.from];
    parts.name += kifPieceName(piece);
    if (isPromotion(m)) parts.name += cp("成");
    auto inZone = [mover](int32_t square) {
        return mover == Side::Lower ? rankOf(square) <= 3 : rankOf(square) >= 7;
    };
    parts.declined = !isPromotion(m) && !isPromoted(piece) && kindOf(piece) != kKing &&
                     kindOf(piece) != kGold && (inZone(m.from) || inZone(to));
    parts.origin = standardSquare(record, m.from);
    return parts;
}

// The KIF text of ply i: a declined promotion is written plainly, since the
// origin tells the move and not every reader takes 不成 in a KIF move line.
std::string plyText(const GameRecord& record, int32_t i) {
    const PlyParts parts = plyParts(record, i);
    if (parts.origin == 0) return parts.name;
    return parts.name + "(" + std::to_string(parts.origin) + ")";
}

// "まで64手で後手の勝ち" and the like.
std::string closingLine(const GameRecord& record, int32_t length, bool handicap) {
    const std::string plies = cp("まで") + std::to_string(length) + cp("手で");
    const GameEnding e = record.ending;
    if (e == GameEnding::Interrupt || e == GameEnding::Repetition || e == GameEnding::Impasse ||
        e == GameEnding::Draw) {
        return plies + cp(kifEndingWord(e));
    }
    // A declaration or the other side's foul wins for the side to move;
    // every other ending loses for it.
    const Side toMove = standardSideToMove(record, length);
    const bool moverWins = e == GameEnding::FoulWin || e == GameEnding::EnteringKingWin;
    const Side winner = moverWins ? toMove : opponentOf(toMove);
    const char* name = winner == Side::Lower ? (handicap ? "下手" : "先手") : (handicap ? "上手" : "後手");
    return plies + cp(name) + cp("の勝ち");
}

}  // namespace

std::string FormatKif(const GameRecord& record) {
    KifText out;
    out.line(cp("# ---- ぬさり将棋 棋譜ファイル ----"));
    if (!record.startTime.empty()) out.line(cp("開始日時：") + record.startTime);
    if (!record.endTime.empty()) out.line(cp("終了日時：") + record.endTime);

    const Position start = standardEntry(record, 0);
    const bool senteFirst = senteMovesFirst(record);
    const Handicap* handicap = senteFirst ? nullptr : handicapOfPosition(start);
    if (senteFirst && isEvenStart(start)) {
        out.line(cp("手合割：平手"));
    } else if (handicap != nullptr) {
        out.line(cp("手合割：") + cp(handicap->name));
    } else {
        writeDiagram(out, start, senteFirst);
    }
    out.line(cp(handicap != nullptr ? "下手：" : "先手：") + std::string(nameOf(record.firstName)));
    out.line(cp(handicap != nullptr ? "上手：" : "後手：") + std::string(nameOf(record.secondName)));
    out.line(cp("手数----指手---------消費時間--"));

    const int32_t length = std::clamp(record.length, 0, kMaxRecordPlies);
    for (int32_t i = 1; i <= length; ++i) {
        const Position& before = record.history[static_cast<std::size_t>(i - 1)];
        const Position& after = record.history[static_cast<std::size_t>(i)];
        const int32_t cell = timeCellOfPly(record, i);
        const std::string time = timeColumn(int64_t{after[cell]} - before[cell], after[cell]);
        out.line(moveLine(i, plyText(record, i), time));
    }
    if (record.ending != GameEnding::None) {
        const Position& last = record.history[static_cast<std::size_t>(length)];
        const int32_t cell = timeCellOfPly(record, length + 1);
        out.line(moveLine(length + 1, cp(kifEndingWord(record.ending)), timeColumn(0, last[cell])));
        out.line(closingLine(record, length, handicap != nullptr));
    }
    return out.take();
}

std::string PlyName(const GameRecord& record, int32_t ply) {
    if (ply < 1 || ply > kMaxRecordPlies) return {};
    const PlyParts parts = plyParts(record, ply);
    return parts.declined ? parts.name + cp("不成") : parts.name;
}

std::string GameResultText(const GameRecord& record) {
    if (record.ending == GameEnding::None) return {};
    const bool handicap =
        !senteMovesFirst(record) && handicapOfPosition(standardEntry(record, 0)) != nullptr;
    return closingLine(record, std::clamp(record.length, 0, kMaxRecordPlies), handicap);
}

}  // namespace nusari
