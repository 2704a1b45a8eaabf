// Records and positions as texts to paste: each format written and read back
// through the recogniser, each format's smallest text recognised however it
// is encoded and laid out, and failures that leave the tree alone.
#include "records/record_text.h"

#include <gtest/gtest.h>

#include "position/sfen.h"
#include "records/csa_writer.h"
#include "records/kif_writer.h"
#include "records/position_text.h"
#include "records/record_messages.h"
#include "records/record_source.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

// ▲７六歩 △３四歩 ▲２二角成 △同銀 with times and comments, and with
// `variation` also △８四歩 as the alternative to △３四歩.
RecordTree sampleTree(bool variation) {
    RecordTree t;
    t.node(kRootNode).comment = "開始局面";
    const NodeId a = t.addMove(kRootNode, {77, 76});
    NodeId n = a;
    for (const Move m : {Move{33, 34}, Move{88, 122}, Move{31, 22}}) n = t.addMove(n, m);
    t.node(n).comment = "同銀で\n互角";
    if (variation) t.node(t.addMove(a, {83, 84})).comment = "変化の注釈";
    for (NodeId id = 1; id < t.nodeCount(); ++id) t.node(id).timeMs = id * 2000;
    return t;
}

RecordTree withoutTimes(RecordTree t) {
    for (NodeId id = 0; id < t.nodeCount(); ++id) t.node(id).timeMs = kUnknownTime;
    return t;
}

TEST(RecordText, EachFormatReadsBackWhatItKeeps) {
    const RecordTree tree = sampleTree(true);
    const NodeId end = tree.mainLineEnd();
    const struct {
        std::string text;
        RecordTextFormat format;
        RecordTree expected;
    } cases[] = {
        {FormatKif(tree), RecordTextFormat::Kif, tree},
        {toUtf8(FormatKif(tree)), RecordTextFormat::Kif, tree},
        {FormatKi2(tree), RecordTextFormat::Ki2, withoutTimes(tree)},
        {FormatCsa(tree), RecordTextFormat::Csa, sampleTree(false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.text));
        RecordTree back;
        const RecordTextOutcome outcome = ReadRecordText(c.text, back);
        ASSERT_EQ(outcome.error, "");
        EXPECT_EQ(outcome.format, c.format);
        EXPECT_TRUE(back == c.expected);
    }
    // The positions: SFEN and BOD give the one at the node, USI its line.
    for (const std::string& text :
         {FormatSfen(tree, end), FormatBod(tree, end), toUtf8(FormatBod(tree, end))}) {
        SCOPED_TRACE(toUtf8(text));
        RecordTree back;
        ASSERT_EQ(ReadRecordText(text, back).error, "");
        EXPECT_FALSE(back.hasMoves());
        EXPECT_EQ(back.start(), tree.positionAt(end));
        EXPECT_EQ(back.firstMover(), Side::Lower);
    }
    RecordTree line;
    ASSERT_EQ(ReadRecordText(FormatUsiPosition(tree, end), line).format, RecordTextFormat::Usi);
    EXPECT_EQ(FormatUsiPosition(line, line.mainLineEnd()), FormatUsiPosition(tree, end));
    EXPECT_EQ(line.positionAt(line.mainLineEnd()), tree.positionAt(end));
}

TEST(RecordText, PositionTextsOfANode) {
    RecordTree tree = sampleTree(false);
    const NodeId second = tree.mainLine()[1];
    EXPECT_EQ(FormatSfen(tree, second),
              "lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 3");
    EXPECT_EQ(FormatUsiPosition(tree, kRootNode), "position startpos");
    EXPECT_EQ(FormatUsiPosition(tree, second), "position startpos moves 7g7f 3c3d");
    const std::string bod = toUtf8(FormatBod(tree, tree.mainLineEnd()));
    EXPECT_EQ(bod.rfind("後手の持駒：角　\r\n", 0), 0u);
    EXPECT_NE(bod.find("先手の持駒：角　\r\n手数＝4  △同　銀  まで\r\n先手番\r\n"),
              std::string::npos);
    Position start;
    Side side = Side::Lower;
    std::string error;
    ASSERT_TRUE(parseSfen("4k4/9/9/9/9/9/9/9/4K4 w G 1", start, side, error));
    tree.reset(start, side);
    tree.addMove(kRootNode, {51, 52});
    EXPECT_EQ(FormatUsiPosition(tree, tree.mainLineEnd()),
              "position sfen 4k4/9/9/9/9/9/9/9/4K4 w G 1 moves 5a5b");
    EXPECT_NE(toUtf8(FormatBod(tree, tree.mainLineEnd())).find("先手番"), std::string::npos);
}

constexpr const char* kAfterTwo =
    "lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 3";

TEST(RecordText, EachFormatIsRecognisedHoweverItIsLaidOut) {
    const std::string bod = std::string("後手の持駒：なし\n") +
                            "  ９ ８ ７ ６ ５ ４ ３ ２ １\n+---------------------------+\n"
                            "| ・ ・ ・ ・v玉 ・ ・ ・ ・|一\n| ・ ・ ・ ・ ・ ・ ・ ・ ・|二\n"
                            "| ・ ・ ・ ・ ・ ・ ・ ・ ・|三\n| ・ ・ ・ ・ ・ ・ ・ ・ ・|四\n"
                            "| ・ ・ ・ ・ ・ ・ ・ ・ ・|五\n| ・ ・ ・ ・ ・ ・ ・ ・ ・|六\n"
                            "| ・ ・ ・ ・ ・ ・ ・ ・ ・|七\n| ・ ・ ・ ・ ・ ・ ・ ・ ・|八\n"
                            "| ・ ・ ・ ・ 玉 ・ ・ ・ ・|九\n+---------------------------+\n"
                            "先手の持駒：金\n後手番\n";
    const struct {
        std::string text;  // UTF-8
        RecordTextFormat format;
        const char* sfen;  // of the main line's end
    } cases[] = {
        {"手合割：平手\n手数----指手---------消費時間--\n"
         "   1 ７六歩(77)   ( 0:01/00:00:01)\n   2 ３四歩(33)\n",
         RecordTextFormat::Kif, kAfterTwo},
        {"   1 ７六歩(77)\n   2 ３四歩(33)\n", RecordTextFormat::Kif, kAfterTwo},
        {"▲７六歩 △３四歩\n", RecordTextFormat::Ki2, kAfterTwo},
        {"V2.2\nPI\n+\n+7776FU\n-3334FU\n", RecordTextFormat::Csa, kAfterTwo},
        {std::string(kEvenRows) + "+\n+7776FU\n-3334FU\n", RecordTextFormat::Csa, kAfterTwo},
        {"+7776FU\n-3334FU\n", RecordTextFormat::Csa, kAfterTwo},
        {std::string(kStartSfen), RecordTextFormat::Sfen, kStartSfen.data()},
        {"sfen " + std::string(kStartSfen) + " moves 7g7f 3c3d", RecordTextFormat::Sfen, kAfterTwo},
        {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b -\nmoves 7g7f 3c3d",
         RecordTextFormat::Sfen, kAfterTwo},
        {"position startpos", RecordTextFormat::Usi, kStartSfen.data()},
        {"position startpos moves 7g7f 3c3d", RecordTextFormat::Usi, kAfterTwo},
        {"position sfen " + std::string(kStartSfen) + " moves 7g7f 3c3d", RecordTextFormat::Usi,
         kAfterTwo},
        {bod, RecordTextFormat::Bod, "4k4/9/9/9/9/9/9/9/4K4 w G 1"},
    };
    for (const auto& c : cases) {
        auto laidOut = [](std::string text) {
            std::string crlf;
            for (const char ch : text)
                crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
            return "\xEF\xBB\xBF \r\n" + crlf + "\r\n\r\n ";
        };
        for (const std::string& text : {c.text, laidOut(c.text), cp932(c.text)}) {
            SCOPED_TRACE(text);
            RecordTree tree;
            const RecordTextOutcome outcome = ReadRecordText(text, tree);
            ASSERT_EQ(outcome.error, "");
            EXPECT_EQ(outcome.format, c.format);
            EXPECT_EQ(FormatSfen(tree, tree.mainLineEnd()), c.sfen);
        }
    }
}

TEST(RecordText, AFailureSaysWhyAndLeavesTheTree) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", kRecordTextEmptyMessage},
        {"\xEF\xBB\xBF \r\n\t", kRecordTextEmptyMessage},
        {cp932("今日は良い天気です。\n注意：これは棋譜ではありません\nHello, world"),
         kRecordTextUnreadableMessage},
        {"7g7f", kRecordTextUnreadableMessage},
        {"position startpos moves 7g7f 7g7f",
         "USI形式として読めませんでした：2手目の指し手「7g7f」は指せません"},
        {"position startpos moves 7g7f x",
         "USI形式として読めませんでした：2手目の指し手「x」が読めません"},
        {"sfen 9/9/9 b - 1", "SFEN形式として読めませんでした：局面が読めません"},
        {"position startpos 7g7f", "USI形式として読めませんでした：局面が読めません"},
        {cp932("手数----指手--\n   1 ７六金(77)\n"),
         "KIF形式として読めませんでした：1手目の指し手が局面と合いません"},
        {"+7776KI\n", "CSA形式として読めませんでした：1手目の指し手が局面と合いません"},
        {std::string(kMaxRecordFileBytes + 1, ' '), kRecordTextTooLargeMessage},
    };
    const RecordTree before = sampleTree(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        RecordTree tree = before;
        const RecordTextOutcome outcome = ReadRecordText(c.text, tree);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(outcome.format, RecordTextFormat::None);
        EXPECT_TRUE(tree == before);
    }
}

}  // namespace
}  // namespace nusari::test
