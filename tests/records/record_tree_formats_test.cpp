// The tree through the record formats: each feature written and read back
// to the same tree, variations and comments as other programs write them,
// and faults in a variation that keep the main line.
#include <gtest/gtest.h>

#include <functional>

#include "position/sfen.h"
#include "position/text_encoding.h"
#include "records/csa_writer.h"
#include "records/kif_writer.h"
#include "records/record_messages.h"
#include "records/record_readers.h"
#include "records/record_source.h"
#include "records/record_tree_files.h"
#include "records/record_writer.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

enum class Format { Csa, Kif, Kifu, Ki2, Ki2u };

std::string written(const RecordTree& tree, Format format) {
    switch (format) {
        case Format::Csa:
            return FormatCsa(tree);
        case Format::Kif:
            return FormatKif(tree);
        case Format::Kifu:
            return toUtf8(FormatKif(tree));
        case Format::Ki2:
            return FormatKi2(tree);
        case Format::Ki2u:
            return toUtf8(FormatKi2(tree));
    }
    return {};
}

ReadOutcome readTree(std::string_view bytes, Format format, RecordTree& tree) {
    const std::string text = recordTextAsCp932(bytes);
    TextInput in{std::string_view(text)};
    return format == Format::Csa ? ReadCsaTree(in, tree) : ReadKifTree(in, tree);
}

ReadOutcome readKifTree(std::string_view utf8, RecordTree& tree) {
    return readTree(cp932(utf8), Format::Kif, tree);
}

// The tree as KI2 keeps it: no thinking times.
RecordTree withoutTimes(RecordTree tree) {
    for (NodeId id = 0; id < tree.nodeCount(); ++id) tree.node(id).timeMs = kUnknownTime;
    tree.startTimeMs[0] = tree.startTimeMs[1] = 0;
    return tree;
}

// Plays the moves from `at`, checking that each fits.
NodeId play(RecordTree& tree, NodeId at, std::initializer_list<Move> moves) {
    for (const Move& m : moves) {
        at = tree.addMove(at, m);
        EXPECT_NE(at, kNoNode);
    }
    return at;
}

// The trees of the round trip, one feature each.
struct TreeCase {
    const char* name;
    std::vector<Format> formats;
    std::function<void(RecordTree&)> build;
};

const std::vector<TreeCase>& treeCases() {
    static const std::vector<TreeCase> cases = {
        {"moves with times, a drop, a promotion and an ending",
         {Format::Csa, Format::Kif, Format::Kifu, Format::Ki2, Format::Ki2u},
         [](RecordTree& t) {
             NodeId n = play(t, kRootNode, {{77, 76}, {33, 34}, {88, 122}, {31, 22}});
             n = play(t, n, {{kLowerHandBase + kBishop, 55}});
             NodeId at = n;
             for (int64_t s = 1; at != kRootNode; at = t.node(at).parent, ++s) t.node(at).timeMs = s * 61000;
             t.node(n).ending = GameEnding::Resign;
         }},
        {"unknown times", {Format::Csa, Format::Kif},
         [](RecordTree& t) {
             const NodeId n = play(t, kRootNode, {{77, 76}, {33, 34}});
             t.node(n).timeMs = 3000;
         }},
        {"comments on the start and on moves, over several lines",
         {Format::Csa, Format::Kif, Format::Kifu, Format::Ki2},
         [](RecordTree& t) {
             t.node(kRootNode).comment = "開始局面の注釈";
             const NodeId a = play(t, kRootNode, {{77, 76}});
             t.node(a).comment = "一行目\n\n  三行目 *印も";
             t.node(play(t, a, {{33, 34}})).comment = "\n";
         }},
        {"engine scores", {Format::Csa},
         [](RecordTree& t) {
             const NodeId a = play(t, kRootNode, {{77, 76}});
             t.node(a).hasScore = true;
             t.node(a).score = -123;
             t.node(a).comment = "読み筋";
         }},
        {"variations: nested, several at one ply, at ply 1, with endings",
         {Format::Kif, Format::Kifu, Format::Ki2, Format::Ki2u},
         [](RecordTree& t) {
             const NodeId a = play(t, kRootNode, {{77, 76}});
             const NodeId b = play(t, a, {{33, 34}});
             const NodeId c = play(t, b, {{27, 26}, {83, 84}});
             t.node(c).ending = GameEnding::Interrupt;
             const NodeId d = play(t, b, {{88, 122}});  // ▲２二角成 instead of ▲２六歩
             t.node(d).comment = "変化の注釈";
             play(t, d, {{31, 22}, {kLowerHandBase + kBishop, 45}});
             const NodeId e = play(t, d, {{21, 33}});  // △３三桂 instead of △同銀
             t.node(e).ending = GameEnding::Resign;
             play(t, b, {{59, 58}});
             play(t, a, {{83, 84}, {27, 26}});
             play(t, kRootNode, {{27, 26}, {83, 84}});
             for (NodeId id = 1; id < t.nodeCount(); ++id) t.node(id).timeMs = id * 1000;
         }},
        {"metadata and long names", {Format::Kif, Format::Kifu, Format::Ki2},
         [](RecordTree& t) {
             t.headers = {{"棋戦", "第一期ぬさり杯"}, {"開始日時", "2026/12/08 10:00:00"},
                          {"持ち時間", "各1時間"}, {"作者", ""}};
             t.firstName = "先手の名前はCP932で十八バイトより長い";
             t.secondName = "後手";
             play(t, kRootNode, {{77, 76}});
         }},
        {"metadata CSA has keys for", {Format::Csa},
         [](RecordTree& t) {
             t.headers = {{"開始日時", "2026/12/08 10:00:00"}, {"終了日時", "2026/12/08 11:00:00"},
                          {"棋戦", "floodgate"}, {"場所", "wdoor"}, {"MAX_MOVES", "256"}};
             t.firstName = "sente";
             play(t, kRootNode, {{77, 76}});
         }},
        {"a 後手 start from a diagram with variations", {Format::Kif, Format::Csa, Format::Ki2},
         [](RecordTree& t) {
             Position start = t.start();
             start[88] = kEmpty;
             start[kLowerHandBase + kBishop] = 1;
             t.reset(start, Side::Upper);
             const NodeId a = play(t, kRootNode, {{33, 34}});
             play(t, a, {{kLowerHandBase + kBishop, 55}});
         }},
        {"a 詰将棋: no 先手 king, the rest of the set in 後手's hand",
         {Format::Kif, Format::Kifu, Format::Csa},
         [](RecordTree& t) {
             std::string error;
             Side side = Side::Upper;
             Position start;
             ASSERT_TRUE(parseSfen("4k4/9/4P4/9/9/9/9/9/9 b G2r2b3g4s4n4l17p 1", start, side, error));
             t.reset(start, side);
             t.node(play(t, kRootNode, {{kLowerHandBase + kGold, 52}})).ending = GameEnding::Mate;
         }},
        {"KI2's words, 不成, 打 and every ending it names", {Format::Ki2},
         [](RecordTree& t) {
             std::string error;
             Side side = Side::Lower;
             ASSERT_TRUE(parseSfen("l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", t.startToEdit(), side, error));
             const NodeId a = play(t, kRootNode, {{58, 57}, {51, 52}, {48, 47}});
             play(t, a, {{52, 51}, {34, 23}, {51, 52}, {kLowerHandBase + kSilver, 34}});
             const GameEnding endings[] = {GameEnding::Resign,    GameEnding::Interrupt,
                                           GameEnding::Repetition, GameEnding::Impasse,
                                           GameEnding::Mate,      GameEnding::TimeUp,
                                           GameEnding::FoulWin,   GameEnding::FoulLoss,
                                           GameEnding::EnteringKingWin, GameEnding::Draw};
             // Each ending closes a variation of its own after ▲５七金直.
             const NodeId b = t.node(kRootNode).children.front();
             const Move replies[] = {{51, 41}, {51, 61}, {51, 42}, {51, 62}, {91, 92},
                                     {91, 93}, {91, 94}, {91, 95}, {91, 96}, {91, 97}};
             for (std::size_t k = 0; k < std::size(endings); ++k) {
                 t.node(play(t, b, {replies[k]})).ending = endings[k];
             }
         }},
    };
    return cases;
}

TEST(RecordTreeFormats, AWrittenTreeReadsBackTheSame) {
    for (const TreeCase& c : treeCases()) {
        RecordTree tree;
        c.build(tree);
        for (const Format format : c.formats) {
            SCOPED_TRACE(std::string(c.name) + " as " + std::to_string(static_cast<int>(format)));
            const std::string text = written(tree, format);
            RecordTree back;
            const ReadOutcome outcome = readTree(text, format, back);
            ASSERT_EQ(outcome.error, "");
            ASSERT_EQ(outcome.variationError, "");
            const bool ki2 = format == Format::Ki2 || format == Format::Ki2u;
            EXPECT_TRUE(back == (ki2 ? withoutTimes(tree) : tree)) << toUtf8(text);
        }
    }
}

TEST(RecordTreeFormats, KifVariationsAsOtherProgramsWriteThem) {
    RecordTree tree;
    const ReadOutcome outcome = readKifTree(
        "手合割：平手\n先手：甲\n後手：乙\n*対局前の注釈\n"
        "手数----指手---------消費時間--\n"
        "   1 ７六歩(77)   ( 0:01/00:00:01)\n"
        "*初手の注釈\n"
        "   2 ３四歩(33)   ( 0:02/00:00:02)+\n"
        "   3 投了\n"
        "まで2手で後手の勝ち\n"
        "\n変化：2手\n"
        "   2 ８四歩(83)   ( 0:03/00:00:03)\n"
        "   3 ２六歩(27)\n"
        "\n変化：3手\n"
        "   3 ６八銀(79)\n"
        "*変化の注釈\n",
        tree);
    ASSERT_EQ(outcome.error, "");
    ASSERT_EQ(outcome.variationError, "");
    EXPECT_EQ(outcome.plies, 2);
    EXPECT_EQ(tree.node(kRootNode).comment, "対局前の注釈");
    const std::vector<NodeId> main = tree.mainLine();
    ASSERT_EQ(main.size(), 2u);
    EXPECT_EQ(tree.node(main[0]).comment, "初手の注釈");
    EXPECT_EQ(tree.ending(), GameEnding::Resign);
    const std::vector<NodeId>& second = tree.node(main[0]).children;
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(tree.node(second[1]).move, (Move{83, 84}));
    EXPECT_EQ(tree.node(second[1]).timeMs, 3000);
    const std::vector<NodeId>& third = tree.node(second[1]).children;
    ASSERT_EQ(third.size(), 2u);
    EXPECT_EQ(tree.node(third[0]).timeMs, kUnknownTime);
    EXPECT_EQ(tree.node(third[1]).move, (Move{79, 68}));
    EXPECT_EQ(tree.node(third[1]).comment, "変化の注釈");
}

TEST(RecordTreeFormats, Ki2VariationsCommentsAndCsaScores) {
    RecordTree ki2;
    ASSERT_EQ(readKifTree("手合割：平手\n▲７六歩 △３四歩\n*二手目\n▲２六歩\nまで3手で中断\n"
                          "\n変化：2手\n△８四歩 ▲６八銀\n",
                          ki2)
                  .error,
              "");
    ASSERT_EQ(ki2.mainLine().size(), 3u);
    EXPECT_EQ(ki2.node(ki2.mainLine()[1]).comment, "二手目");
    EXPECT_EQ(ki2.ending(), GameEnding::Interrupt);
    const NodeId alternative = ki2.node(ki2.mainLine()[0]).children.back();
    EXPECT_EQ(ki2.node(alternative).move, (Move{83, 84}));
    EXPECT_EQ(ki2.node(alternative).children.size(), 1u);

    RecordTree csa;
    ASSERT_EQ(readTree("'*始め\n+\n+7776FU\nT3\n'** 120 -3334FU\n'*好手\n'**互角\n", Format::Csa, csa)
                  .error,
              "");
    const RecordNode& first = csa.node(csa.mainLine()[0]);
    EXPECT_EQ(csa.node(kRootNode).comment, "始め");
    EXPECT_TRUE(first.hasScore);
    EXPECT_EQ(first.score, 120);
    // "'**" without a number is a comment line of its own.
    EXPECT_EQ(first.comment, "好手\n*互角");
    EXPECT_EQ(first.timeMs, 3000);
}

TEST(RecordTreeFormats, AFaultInAVariationKeepsTheMainLine) {
    const struct {
        const char* variation;
        std::string message;
    } cases[] = {
        {"変化：9手\n   9 ７六歩(77)\n", kKifVariationMessage},
        {"変化：手\n", kKifVariationMessage},
        {"変化：2手\n   2 ７六歩(77)\n", movePlyMessage(kKifPrefix, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variation);
        RecordTree tree;
        const ReadOutcome outcome = readKifTree(
            std::string("手数----指手--\n   1 ７六歩(77)\n   2 ３四歩(33)\n") + c.variation, tree);
        EXPECT_EQ(outcome.error, "");
        EXPECT_EQ(outcome.variationError, c.message);
        EXPECT_EQ(outcome.plies, 2);
        // The record's view reads the same file without a word.
        const Read read = readKif(std::string("手数----指手--\n   1 ７六歩(77)\n   2 ３四歩(33)\n") +
                                  c.variation);
        EXPECT_EQ(read.error(), "");
        EXPECT_EQ(read.outcome.plies, 2);
    }
}

// An ending is kept only at the end of a line, and moves after one are
// skipped, in a variation as in the main line.
TEST(RecordTreeFormats, MovesAfterAnEndingAreSkippedInAVariationToo) {
    for (const char* variation : {"変化：3手\n   3 ２六歩(27)\n",
                                  "変化：2手\n   2 ３四歩(33)\n   3 ２六歩(27)\n",
                                  "変化：2手\n   2 投了\n   3 ２六歩(27)\n"}) {
        SCOPED_TRACE(variation);
        RecordTree tree;
        const ReadOutcome outcome = readKifTree(
            std::string("手数----指手--\n   1 ７六歩(77)\n   2 ３四歩(33)\n   3 投了\n") + variation,
            tree);
        EXPECT_EQ(outcome.error, "");
        EXPECT_EQ(outcome.variationError, "");
        EXPECT_EQ(tree.nodeCount(), 3);
        EXPECT_EQ(tree.ending(), GameEnding::Resign);
        EXPECT_EQ(tree.node(tree.mainLine()[0]).ending, GameEnding::None);
    }
}

TEST(RecordTreeFormats, TheWholeTreeFromAFileAndToOne) {
    TempFolder folder;
    RecordTree tree;
    treeCases()[4].build(tree);
    FakeUi ui;
    const std::string path = (folder.path() / "tree.kifu").string();
    ASSERT_EQ(WriteRecord(tree, path, ui), 1);
    RecordTree back;
    const ReadOutcome outcome = ReadRecordTreeFile(path, back);
    ASSERT_EQ(outcome.error, "");
    EXPECT_TRUE(back == tree);
    for (const char* name : {"tree.ki2", "tree.KI2U"}) {
        SCOPED_TRACE(name);
        const std::string ki2 = (folder.path() / name).string();
        ASSERT_EQ(WriteRecord(tree, ki2, ui), 1);
        ASSERT_EQ(ReadRecordTreeFile(ki2, back).error, "");
        EXPECT_TRUE(back == withoutTimes(tree));
    }
    EXPECT_EQ(ReadRecordTreeFile((folder.path() / "none.kif").string(), back).error.empty(), false);
    EXPECT_EQ(ReadRecordTreeFile((folder.path() / "tree.txt").string(), back).error,
              kUnknownFormatMessage);
}

}  // namespace
}  // namespace nusari::test
