// The KIF grammar: header, hands, diagram, the move notation and failures.
#include <gtest/gtest.h>

#include "records/record_messages.h"
#include "records/record_source.h"
#include "records_test_support.h"

#include <vector>

namespace nusari::test {
namespace {

constexpr const char* kTableHeader = "手数----指手---------消費時間--\n";

std::string moves(std::string_view lines) {
    return std::string(kTableHeader) + std::string(lines);
}

TEST(KifReader, HeaderDiagramMovesTimesAndComments) {
    const Read r = readKif(
        "# ---- 棋譜ファイル ----\n"
        "開始日時：2024/01/01 10:00:00\n"
        "先手：先手さん\n"
        "後手：後手さん\n"
        "先手の持駒：角　歩二\n"
        "  ９ ８ ７ ６ ５ ４ ３ ２ １\n"
        "+---------------------------+\n"
        "|v香v桂v銀v金v玉v金v銀v桂 ・|一\n"
        "+---------------------------+\n"
        "手数----指手---------消費時間--\n"
        "   1 ７六歩(77)   ( 0:01/00:00:01)\n"
        "   2 ３四歩(33)   ( 1:02/00:01:02)\n"
        "*コメント ７六歩(77)\n"
        "   3 ５五角打     ( 0:01/00:00:02)\n"
        "   4 同　角(22)   ( 0:01/00:01:03)\n"
        "   5 ５六歩(57)\n"
        "   6 ７七角成(55)\n"
        "   7 同　桂(89)\n"
        "   8 ５五角打\n"
        "   9 投了\n"
        "まで8手で後手の勝ち\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(nameOf(r.record->firstName), cp932("先手さん"));
    EXPECT_EQ(nameOf(r.record->secondName), cp932("後手さん"));
    ASSERT_EQ(r.outcome.plies, 8);
    EXPECT_EQ(r.record->ending, GameEnding::Resign);
    EXPECT_EQ(r.record->humanIsSecond, 0);

    const Position& start = r.entry(0);
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
    EXPECT_EQ(r.entry(7)[77], kLowerKnight);
    EXPECT_EQ(r.entry(7)[kLowerHandBase + kBishop], 1);  // a captured horse is a bishop
    EXPECT_EQ(r.entry(8)[55], kUpperBishop);
    // The time column adds each ply's seconds to its side's total.
    EXPECT_EQ(r.entry(2)[kLowerTimeCell], 1);
    EXPECT_EQ(r.entry(2)[kUpperTimeCell], 62);
    EXPECT_EQ(r.entry(4)[kLowerTimeCell], 2);
    EXPECT_EQ(r.entry(4)[kUpperTimeCell], 63);
    EXPECT_EQ(r.entry(8)[kUpperTimeCell], 63);
}

TEST(KifReader, PromotedPieceNotations) {
    // Pieces set up where each notation has a move to make.
    const Read r = readKif(
        "|v香 ・ ・ ・v玉 ・ ・ ・ ・|一\n"
        "| ・ ・ ・ ・ ・ ・ ・v龍 ・|二\n"
        "| ・ ・ ・ ・ ・ 全 ・ ・ ・|三\n"
        "| ・ ・ 歩 ・ ・ ・ ・ ・ ・|四\n"
        "| ・ ・ ・ ・ ・ ・ ・ ・ ・|五\n"
        "| ・ ・ ・ ・ ・ ・v銀 ・ ・|六\n"
        "| ・ ・ ・ ・v全 ・ ・ ・ ・|七\n"
        "| ・ ・ ・ ・ ・ ・ ・ 竜 ・|八\n"
        "| ・ ・ ・ ・ 王 ・ ・ ・ ・|九\n" +
        moves("1 ５二成銀(43)\n"
              "2 ５八全(57)\n"
              "3 ７三歩成(74)\n"
              "4 ２七銀不成(36)\n"
              "5 ２三竜(28)\n"
              "6 ２一龍(22)\n"
              "7 ７二と(73)\n"
              "8 ４一王(51)\n"));
    ASSERT_EQ(r.error(), "");
    ASSERT_EQ(r.outcome.plies, 8);
    EXPECT_EQ(r.entry(1)[52], kLowerProSilver);
    EXPECT_EQ(r.entry(2)[58], kUpperProSilver);
    EXPECT_EQ(r.entry(3)[73], kLowerTokin);
    EXPECT_EQ(r.entry(4)[27], kUpperSilver);  // 不成 keeps the piece as it is
    EXPECT_EQ(r.entry(5)[23], kLowerDragon);  // 竜 is read as 龍
    EXPECT_EQ(r.entry(6)[21], kUpperDragon);
    EXPECT_EQ(r.entry(7)[72], kLowerTokin);
    EXPECT_EQ(r.entry(8)[41], kUpperKing);
}

TEST(KifReader, AMoveTableAloneStartsFromTheEvenGame) {
    const Read r = readKif(moves("1 ７六歩(77)\n2 ３四歩(33)"));  // no final line feed
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.entry(0), evenGame());
    EXPECT_EQ(r.outcome.plies, 2);
    EXPECT_EQ(r.outcome.preset, kPresetEven);
}

TEST(KifReader, AMoveThatDoesNotFitItsPositionNamesItsPly) {
    const char* bad[] = {
        "1 ７六歩(77)\n2 ２六歩(27)\n",  // 後手 moving 先手's pawn
        "1 ７六歩(77)\n2 ７六歩(77)\n",  // nothing left on 7七
        "1 ７六歩(77)\n2 ３四銀(33)\n",  // a pawn stands there, not a silver
        "1 ７六歩(77)\n2 ５五角打\n",    // 後手 holds no bishop
        "1 ７六歩(77)\n2 ３三歩(33)\n",  // from and to the same square
        "1 ７六歩(77)\n2 ５一玉(41)\n",  // onto an own piece
    };
    for (const char* lines : bad) {
        SCOPED_TRACE(lines);
        const Read r = readKif(moves(lines));
        EXPECT_EQ(r.error(), movePlyMessage(kKifPrefix, 2));
        EXPECT_EQ(r.outcome.plies, 1);
    }
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

TEST(KifReader, HandicapsTakePiecesFromTheSecondPlayerWhoMovesFirst) {
    const struct {
        const char* line;
        std::vector<int32_t> removed;
        int32_t preset;
    } cases[] = {
        {"手合割：香落ち", {11}, kPresetEven},
        {"手合割：右香落ち", {91}, kPresetEven},
        {"手合割：角落ち", {22}, kPresetNoBishop},
        {"手合割：飛車落ち", {82}, kPresetNoRook},
        {"手合割：飛香落ち", {82, 11}, kPresetEven},
        {"手合割：二枚落ち", {82, 22}, kPresetTwoPieces},
        {"手合割：三枚落ち", {82, 22, 11}, kPresetEven},
        {"手合割：四枚落ち", {82, 22, 11, 91}, kPresetEven},
        {"手合割：五枚落ち", {82, 22, 11, 91, 21}, kPresetEven},
        {"手合割：左五枚落ち", {82, 22, 11, 91, 81}, kPresetEven},
        {"手合割：六枚落ち", {82, 22, 11, 91, 21, 81}, kPresetEven},
        {"手合割：左七枚落ち", {82, 22, 11, 91, 21, 81, 71}, kPresetEven},
        {"手合割：右七枚落ち", {82, 22, 11, 91, 21, 81, 31}, kPresetEven},
        {"手合割：八枚落ち", {82, 22, 11, 91, 21, 81, 31, 71}, kPresetEven},
        {"手合割：十枚落ち", {82, 22, 11, 91, 21, 81, 31, 71, 41, 61}, kPresetEven},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        // 上手's first move, on the handicapped side's own pieces.
        const Read r = readKif(std::string(c.line) + "\n" + moves("1 ５四歩(53)\n2 ７六歩(77)\n"));
        ASSERT_EQ(r.error(), "");
        Position expected = evenGame();
        for (const int32_t square : c.removed) expected[square] = kEmpty;
        EXPECT_EQ(r.entry(0), expected);
        EXPECT_EQ(r.record->humanIsSecond, 1);
        EXPECT_EQ(r.outcome.preset, c.preset);
        EXPECT_EQ(r.entry(1)[54], kUpperPawn);
        EXPECT_EQ(r.entry(2)[76], kLowerPawn);
    }
    EXPECT_EQ(readKif("手合割：平手　\n").error(), "");
    EXPECT_EQ(readKif("手合割：平手　\n").record->humanIsSecond, 0);
    EXPECT_EQ(readKif("手合割：九枚落ち\n").error(), kKifHandicapMessage);
}

TEST(KifReader, TheSideToMoveLineChoosesWhoMakesTheFirstMove) {
    const Read second = readKif("後手番\n" + moves("1 ３四歩(33)\n2 ７六歩(77)\n"));
    ASSERT_EQ(second.error(), "");
    EXPECT_EQ(second.record->humanIsSecond, 1);
    EXPECT_EQ(second.entry(1)[34], kUpperPawn);
    // 先手番 after a handicap line gives the move back to 下手.
    const Read first = readKif("手合割：香落ち\n下手番\n" + moves("1 ７六歩(77)\n"));
    ASSERT_EQ(first.error(), "");
    EXPECT_EQ(first.record->humanIsSecond, 0);
}

TEST(KifReader, VariationsCommentsAndEndingsDoNotTouchTheMainLine) {
    const std::string longComment = "*" + std::string(600, 'x') + "\n";
    const Read r = readKif("#" + std::string(400, 'y') + "\n" +
                           moves("1 ７六歩(77)\n" + longComment + "&bookmark\n2 ３四歩(33)\n"
                                 "3 中断\n4 ２六歩(27)\n"
                                 "変化：2手\n2 ８四歩(83)\n3 ２六歩(27)\n"));
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.outcome.plies, 2);
    EXPECT_EQ(r.record->ending, GameEnding::Interrupt);
    EXPECT_EQ(r.entry(2)[34], kUpperPawn);
    EXPECT_EQ(r.entry(2)[84], kEmpty);
}

TEST(KifReader, LinesOfMoreThan254BytesFail) {
    // Comments may be longer: they hold analyses.
    const std::string ok(254, 'x');
    const std::string tooLong(255, 'x');
    EXPECT_EQ(readKifBytes("*" + tooLong + "\n").error(), "");
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

// Every entry of `r` is the one of `expected`, times included.
void expectSameEntries(const Read& r, const Read& expected) {
    ASSERT_EQ(r.error(), "");
    ASSERT_EQ(r.outcome.plies, expected.outcome.plies);
    for (int32_t n = 0; n <= r.outcome.plies; ++n) EXPECT_EQ(r.entry(n), expected.entry(n)) << n;
}

Read readUtf8File(const std::string& text) {
    return readKifBytes(recordTextAsCp932(text));
}

TEST(KifReader, Ki2MarksAndDigitsOfEveryKind) {
    const Read plain = readKif("▲７六歩　△３四歩　▲２二角成　△同　銀\n▲４五角\n");
    ASSERT_EQ(plain.outcome.plies, 5);
    for (const char* text : {
             "▲７六歩▽３四歩▲２二角成▽同　銀▲４五角",  // ▽ and no blanks
             "☗７六歩　☖３四歩\n☗２二角成　▽同　銀\n▲４五角",
             "▲7六歩 ▽3四歩 ▲2二角成 ▽同　銀 ▲4五角",
             "▲76歩△34歩▲22角成△同　銀▲45角",
             "▲７６歩　△３４歩　▲２２角成　△同　銀　▲４５角",
         }) {
        SCOPED_TRACE(text);
        expectSameEntries(readUtf8File(std::string(text) + "\n"), plain);
    }
}

TEST(KifReader, MoveTableMarksAndDigitsKeepOriginsAndTimes) {
    const char* times[5] = {"   ( 0:01/00:00:01)", "   ( 0:05/00:00:05)", "",
                            "   ( 0:02/00:00:07)", " ( 0:03/00:00:04)"};
    const auto game = [&](const std::vector<const char*>& lines) {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            text += std::string(lines[i]) + times[i] + "\n";
        }
        return readUtf8File(moves(text));
    };
    const Read plain = game({"   1 ７六歩(77)", "   2 ３四歩(33)", "   3 ２二角成(88)", "   4 同　銀(31)",
                             "   5 ４五角打"});
    ASSERT_EQ(plain.error(), "");
    ASSERT_EQ(plain.outcome.plies, 5);
    EXPECT_EQ(plain.entry(5)[kLowerTimeCell], 4);
    const std::vector<const char*> variants[] = {
        {"   1 ▲７六歩(77)", "   2 ▽３四歩(33)", "   3 ☗２二角成(88)", "   4 △同　銀(31)",
         "   5 ▲４五角打"},
        {"1 7六歩(77)", "2 34歩(33)", "3 ２２角成(88)", "4 同　銀(31)", "5 ▲4五角打"},
        // No blank after the number: the digits before the piece are the square.
        {"17六歩(77)", "2３四歩(33)", "322角成(88)", "4同　銀(31)", "545角打"},
    };
    for (const auto& lines : variants) {
        SCOPED_TRACE(lines[0]);
        expectSameEntries(game(lines), plain);
    }
    // A mark must name the side to move.
    EXPECT_EQ(readKif(moves("1 ▽７六歩(77)\n")).error(), movePlyMessage(kKifPrefix, 1));
}

TEST(KifReader, MovesBeyondTheHistoryFail) {
    std::string lines;
    const char* steps[4] = {" ５八玉(59)\n", " ５二玉(51)\n", " ５九玉(58)\n", " ５一玉(52)\n"};
    for (int i = 1; i <= kMaxRecordPlies; ++i) lines += std::to_string(i) + steps[(i - 1) % 4];
    const Read full = readKif(moves(lines));
    EXPECT_EQ(full.error(), "");
    EXPECT_EQ(full.outcome.plies, kMaxRecordPlies);
    const Read over = readKif(moves(lines + "1000" + steps[kMaxRecordPlies % 4]));
    EXPECT_EQ(over.error(), kKifTooLongMessage);
}

}  // namespace
}  // namespace nusari::test
