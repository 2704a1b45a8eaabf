// The KIF grammar: header, hands, diagram, the move notation and failures.
#include <gtest/gtest.h>

#include "records/record_messages.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

constexpr const char* kTableHeader = "手数----指手---------消費時間--\n";

std::string moves(std::string_view lines) {
    return std::string(kTableHeader) + std::string(lines);
}

TEST(KifReader, HandicapHeaderHandsDiagramAndMoves) {
    const Read r = readKif(
        "# ---- 棋譜ファイル ----\n"
        "開始日時：2024/01/01 10:00:00\n"
        "手合割：角落ち\n"
        "先手：上手さん\n"
        "後手：下手さん\n"
        "先手の持駒：角　歩二\n"
        "  ９ ８ ７ ６ ５ ４ ３ ２ １\n"
        "+---------------------------+\n"
        "|v香v桂v銀v金v玉v金v銀v桂 ・|一\n"
        "+---------------------------+\n"
        "手数----指手---------消費時間--\n"
        "   1 ７六歩(77)   ( 0:01/00:00:01)\n"
        "   2 ３四歩(33)   ( 0:02/00:00:02)\n"
        "*コメント ７六歩(77)\n"
        "   3 ５五角打     ( 0:01/00:00:02)\n"
        "   4 同　角(22)   ( 0:01/00:00:03)\n"
        "   5 ５六歩(57)\n"
        "   6 ７七角成(55)\n"
        "   7 同　桂(89)\n"
        "   8 ５五角打\n"
        "   9 投了\n"
        "まで8手で後手の勝ち\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.outcome.preset, kPresetNoBishop);
    EXPECT_EQ(nameOf(r.record->firstName), cp932("上手さん"));
    EXPECT_EQ(nameOf(r.record->secondName), cp932("下手さん"));
    ASSERT_EQ(r.outcome.plies, 8);

    const Position& start = r.entry(0);
    EXPECT_EQ(start[88], kEmpty);  // 角落ち: the first player has no bishop
    EXPECT_EQ(start[22], kUpperBishop);
    EXPECT_EQ(start[11], kEmpty);  // the diagram row's empty cell
    EXPECT_EQ(start[21], kUpperKnight);
    EXPECT_EQ(start[kLowerHandBase + kBishop], 1);
    EXPECT_EQ(start[kLowerHandBase + kPawn], 2);

    EXPECT_EQ(r.entry(1)[76], kLowerPawn);
    EXPECT_EQ(r.entry(2)[34], kUpperPawn);
    EXPECT_EQ(r.entry(3)[55], kLowerBishop);
    EXPECT_EQ(r.entry(3)[kLowerHandBase + kBishop], 0);
    // 同 takes the previous destination.
    EXPECT_EQ(r.entry(4)[55], kUpperBishop);
    EXPECT_EQ(r.entry(4)[22], kEmpty);
    EXPECT_EQ(r.entry(4)[kUpperHandBase + kBishop], 1);
    EXPECT_EQ(r.entry(6)[77], kUpperHorse);
    EXPECT_EQ(r.entry(6)[55], kEmpty);
    EXPECT_EQ(r.entry(7)[77], kLowerKnight);
    EXPECT_EQ(r.entry(7)[89], kEmpty);
    EXPECT_EQ(r.entry(7)[kLowerHandBase + kBishop], 1);  // a captured horse is a bishop
    EXPECT_EQ(r.entry(8)[55], kUpperBishop);
    EXPECT_EQ(r.entry(8)[kUpperHandBase + kBishop], 0);
    for (int32_t n = 0; n <= 8; ++n) {
        EXPECT_EQ(r.entry(n)[kLowerTimeCell], 0);
        EXPECT_EQ(r.entry(n)[kUpperTimeCell], 0);
    }
}

TEST(KifReader, PromotedPieceNotations) {
    const Read r =
        readKif(moves("1 ５二成銀(43)\n"
                      "2 ５八全(47)\n"
                      "3 ７三歩成(74)\n"
                      "4 ７六銀不成(67)\n"
                      "5 ２二竜(28)\n"
                      "6 ２八龍(22)\n"
                      "7 ９一と(92)\n"
                      "8 ５八王(51)\n"));
    ASSERT_EQ(r.error(), "");
    ASSERT_EQ(r.outcome.plies, 8);
    EXPECT_EQ(r.entry(1)[52], kLowerProSilver);
    EXPECT_EQ(r.entry(1)[43], kEmpty);
    EXPECT_EQ(r.entry(2)[58], kUpperProSilver);
    EXPECT_EQ(r.entry(3)[73], kLowerTokin);
    EXPECT_EQ(r.entry(4)[76], kUpperSilver);  // 不成 keeps the piece as it is
    EXPECT_EQ(r.entry(4)[67], kEmpty);
    EXPECT_EQ(r.entry(5)[22], kLowerDragon);  // 竜 is read as 龍
    EXPECT_EQ(r.entry(6)[28], kUpperDragon);
    EXPECT_EQ(r.entry(7)[91], kLowerTokin);
    EXPECT_EQ(r.entry(8)[58], kUpperKing);
}

TEST(KifReader, AMoveTableAloneStartsFromTheEvenGame) {
    const Read r = readKif(moves("1 ７六歩(77)\n2 ３四歩(33)"));  // no final line feed
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.entry(0), evenGame());
    EXPECT_EQ(r.outcome.plies, 2);
    EXPECT_EQ(r.outcome.preset, kPresetEven);
}

TEST(KifReader, TheSecondMoveIsAlwaysTheUpperSidesMove) {
    // The move of line 2 is the upper side's, whatever the line claims.
    const Read r = readKif(moves("1 ７六歩(77)\n2 ２六歩(27)\n"));
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.entry(2)[26], kUpperPawn);
}

TEST(KifReader, HandLinesSetCounts) {
    const Read r = readKif(
        "後手の持駒：飛　角二　歩十二\n"
        "先手の持駒：金十　銀三　桂十八　玉　と\n");
    ASSERT_EQ(r.error(), "");
    const Position& p = r.entry(0);
    EXPECT_EQ(p[kUpperHandBase + kRook], 1);
    EXPECT_EQ(p[kUpperHandBase + kBishop], 2);
    EXPECT_EQ(p[kUpperHandBase + kPawn], 12);
    EXPECT_EQ(p[kLowerHandBase + kGold], 10);
    EXPECT_EQ(p[kLowerHandBase + kSilver], 3);
    EXPECT_EQ(p[kLowerHandBase + kKnight], 18);
    EXPECT_EQ(p[kLowerTimeCell], 0);  // the king in a hand line is skipped

    const Read emptied = readKif("後手の持駒：歩三\n後手の持駒：なし\n先手の持駒：なし\n");
    EXPECT_EQ(emptied.entry(0)[kUpperHandBase + kPawn], 0);
    EXPECT_EQ(emptied.entry(0), evenGame());
}

TEST(KifReader, NamesKeepEighteenBytes) {
    const Read r = readKif("先手：abcdefghijklmnopqrstuvwxyz0123\n後手：一二三四五六七八九十\n");
    EXPECT_EQ(nameOf(r.record->firstName), "abcdefghijklmnopqr");
    EXPECT_EQ(nameOf(r.record->secondName), cp932("一二三四五六七八九"));
}

TEST(KifReader, DiagramRowFillsItsRank) {
    const Read r = readKif("|v香v桂v銀v金v玉v金v銀v桂v香|一\n| ・ 歩 ・ ・ ・ ・ ・ 龍 ・|五\n");
    ASSERT_EQ(r.error(), "");
    const Position& p = r.entry(0);
    const int32_t upper[9] = {kUpperLance, kUpperKnight, kUpperSilver, kUpperGold, kUpperKing,
                              kUpperGold,  kUpperSilver, kUpperKnight, kUpperLance};
    for (int32_t c = 0; c < 9; ++c) EXPECT_EQ(p[squareOf(9 - c, 1)], upper[c]) << c;
    EXPECT_EQ(p[85], kLowerPawn);
    EXPECT_EQ(p[25], kLowerDragon);
    EXPECT_EQ(p[55], kEmpty);
}

TEST(KifReader, HandicapLines) {
    EXPECT_EQ(readKif("手合割：平手　\n").error(), "");
    const Read noRook = readKif("手合割：飛車落ち\n");
    EXPECT_EQ(noRook.outcome.preset, kPresetNoRook);
    EXPECT_EQ(noRook.entry(0)[28], kEmpty);
    const Read two = readKif("手合割：二枚落ち\n");
    EXPECT_EQ(two.outcome.preset, kPresetTwoPieces);
    EXPECT_EQ(two.entry(0)[88], kEmpty);
    EXPECT_EQ(readKif("手合割：香落ち\n").error(), kKifHandicapMessage);
}

TEST(KifReader, LinesOfMoreThan254BytesFail) {
    const std::string ok(254, 'x');
    const std::string tooLong(255, 'x');
    EXPECT_EQ(readKifBytes(ok + "\n" + ok).error(), "");
    EXPECT_EQ(readKifBytes(tooLong).error(), kKifLongLineMessage);
    EXPECT_EQ(readKif(moves("1 ７六歩(77)\n" + tooLong + "\n")).error(), kKifLongLineMessage);
    // CR LF line ends do not count.
    EXPECT_EQ(readKifBytes(ok + "\r\n" + ok + "\r\n").error(), "");
}

TEST(KifReader, MalformedMovesAreRefused) {
    const char* bad[] = {
        "1 同　歩(77)\n",  // no earlier destination
        "1 ７六鳳(77)\n",  // a kanji outside the table
        "1 ７六歩(7)\n",   // a missing origin digit
        "1 ７六歩(0７)\n",
        "1 ７歩(77)\n",    // no rank numeral
        "1 ７十歩(77)\n",  // rank 10
        "1 ７六玉打\n",    // a king cannot be dropped
        "1 ７六と打\n",
        "1 ７六金成(67)\n",  // a gold cannot promote
        "1 ７六成金(67)\n",
        "1 ７六歩銀(77)\n",  // another piece kanji after the piece
        "1 ７六打\n",       "1 ７",
    };
    for (const char* line : bad) {
        SCOPED_TRACE(line);
        const Read r = readKif(moves(line));
        EXPECT_EQ(r.error(), kKifMoveMessage);
        EXPECT_EQ(r.outcome.plies, 0);
    }
}

TEST(KifReader, NonMoveLinesInTheTableAreSkipped) {
    const Read r = readKif(moves("\n   \n*comment\n変化：3手\nまで0手\n1234\n"));
    EXPECT_EQ(r.error(), "");
    EXPECT_EQ(r.outcome.plies, 0);
}

TEST(KifReader, DiagramRowsWithoutARankOneToNineAreRefused) {
    EXPECT_EQ(readKif("|v香v桂v銀v金v玉v金v銀v桂v香|十\n").error(), kKifBoardRowMessage);
    EXPECT_EQ(readKif("|v香v桂v銀v金v玉v金v銀v桂v香|\n").error(), kKifBoardRowMessage);
    EXPECT_EQ(readKif("|v香v桂|一\n").error(), kKifBoardRowMessage);
    EXPECT_EQ(readKif("|\n").error(), kKifBoardRowMessage);
}

TEST(KifReader, MovesBeyondTheHistoryFail) {
    std::string lines;
    for (int i = 1; i <= kMaxRecordPlies; ++i) lines += std::to_string(i) + " ５八玉(59)\n";
    const Read full = readKif(moves(lines));
    EXPECT_EQ(full.error(), "");
    EXPECT_EQ(full.outcome.plies, kMaxRecordPlies);
    const Read over = readKif(moves(lines + "1000 ５八玉(59)\n"));
    EXPECT_EQ(over.error(), kKifTooLongMessage);
}

}  // namespace
}  // namespace nusari::test
