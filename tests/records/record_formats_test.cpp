// Records as other programs write them: CSA placements, handicaps and the
// second player first; KI2 moves; endings; and every format written read
// back to the same game.
#include <gtest/gtest.h>

#include <filesystem>

#include "position/position.h"
#include "position/sfen.h"
#include "records/ki2_moves.h"
#include "records/kif_writer.h"
#include "records/load_record.h"
#include "records/record_messages.h"
#include "records/record_source.h"
#include "records/record_writer.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

TEST(CsaFormats, HandicapPlacementsAndTheSecondPlayerFirst) {
    const Read pi = readCsa("PI82HI22KA\n-\n-3334FU,T3,+7776FU,T4\n");
    ASSERT_EQ(pi.error(), "");
    Position expected = evenGame();
    expected[82] = kEmpty;
    expected[22] = kEmpty;
    EXPECT_EQ(pi.entry(0), expected);
    EXPECT_EQ(pi.record->humanIsSecond, 1);
    EXPECT_EQ(pi.outcome.plies, 2);
    EXPECT_EQ(pi.entry(1)[34], kUpperPawn);
    EXPECT_EQ(pi.entry(2)[kUpperTimeCell], 3);
    EXPECT_EQ(pi.entry(2)[kLowerTimeCell], 4);

    // Placements alone build on an empty board; "00AL" takes the rest.
    const Read placed = readCsa("P-51OU\nP+59OU\nP+63KI55RY\nP+00FU\nP-00AL\n+\n+6352KI\n");
    ASSERT_EQ(placed.error(), "");
    const Position& p = placed.entry(0);
    EXPECT_EQ(p[51], kUpperKing);
    EXPECT_EQ(p[63], kLowerGold);
    EXPECT_EQ(p[55], kLowerDragon);
    EXPECT_EQ(p[77], kEmpty);
    const int32_t upperHand[8] = {0, 1, 2, 3, 4, 4, 4, 17};
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        EXPECT_EQ(p[kUpperHandBase + kind], upperHand[kind]) << kind;
    }
    EXPECT_EQ(p[kLowerHandBase + kPawn], 1);
}

TEST(CsaFormats, EndingsAreKeptAndReadingStopsAtThem) {
    const struct {
        const char* word;
        GameEnding ending;
    } cases[] = {
        {"%TORYO", GameEnding::Resign},        {"%CHUDAN", GameEnding::Interrupt},
        {"%SENNICHITE", GameEnding::Repetition}, {"%JISHOGI", GameEnding::Impasse},
        {"%TSUMI", GameEnding::Mate},           {"%TIME_UP", GameEnding::TimeUp},
        {"%ILLEGAL_MOVE", GameEnding::FoulLoss}, {"%KACHI", GameEnding::EnteringKingWin},
        {"%HIKIWAKE", GameEnding::Draw},        {"%+ILLEGAL_ACTION", GameEnding::FoulWin},
        {"%-ILLEGAL_ACTION", GameEnding::FoulLoss}, {"%MATTA", GameEnding::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        const Read r = readCsa(std::string("+7776FU\n") + c.word + "\n-3334FU\n");
        ASSERT_EQ(r.error(), "");
        EXPECT_EQ(r.record->ending, c.ending);
        EXPECT_EQ(r.outcome.plies, c.ending == GameEnding::None ? 2 : 1);
    }
    // Of a file of several games the first is read.
    EXPECT_EQ(readCsa("+7776FU\n/\n+2726FU\n").outcome.plies, 1);
}

TEST(CsaFormats, AMoveThatDoesNotFitItsPositionNamesItsPly) {
    const struct {
        const char* text;
        int32_t ply;
    } cases[] = {
        {"+7776FU\n-7776FU\n", 2},           // nothing left on 7七
        {"+7776FU\n+2726FU\n", 2},           // 先手 twice
        {"+7776FU\n-3334KI\n", 2},           // a pawn stands there, not a gold
        {"+7776FU\n-0055KA\n", 2},           // no bishop in hand
        {"+7776FU\n-5142OU\n-4232OU\n", 3},  // 後手 twice
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readCsa(c.text).error(), movePlyMessage(kCsaPrefix, c.ply));
    }
}

// A diagram where KI2's words have something to tell apart: 先手's golds
// on 5八 and 4八, a silver on 3四, a bishop in hand.
constexpr const char* kKi2Diagram =
    "後手の持駒：なし\n"
    "|v香 ・ ・ ・v玉 ・ ・ ・ ・|一\n"
    "| ・ ・ ・ ・ ・ ・ ・ ・ ・|二\n"
    "| ・ ・ ・ ・ ・ ・ ・ ・ ・|三\n"
    "| ・ ・ ・ ・ ・ ・ 銀 ・ ・|四\n"
    "| ・ ・ ・ ・ ・ ・ ・ ・ ・|五\n"
    "| ・ ・ ・ ・ ・ ・ ・ ・ ・|六\n"
    "| ・ ・ ・ ・ ・ ・ ・ ・ ・|七\n"
    "| ・ ・ ・ ・ 金 金 ・ ・ ・|八\n"
    "| ・ ・ ・ ・ 玉 ・ ・ ・ ・|九\n"
    "先手の持駒：角\n";

TEST(Ki2Moves, WordsTellThePiecesApart) {
    const struct {
        const char* move;
        Move expected;
    } cases[] = {
        {"▲５七金直", {58, 57}},   {"▲５七金右", {48, 57}},      {"▲４七金直", {48, 47}},
        {"▲４七金左", {58, 47}},   {"▲４九金引", {48, 49}},      {"▲６八金", {58, 68}},
        {"▲５五角", {113, 55}},    {"▲５五角打", {113, 55}},     {"▲２三銀成", {34, 123}},
        {"▲２三銀不成", {34, 23}}, {"☗２三銀生", {34, 23}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.move);
        const Read r = readKifBytes(recordTextAsCp932(std::string(kKi2Diagram) + c.move + "\n"));
        ASSERT_EQ(r.error(), "");
        ASSERT_EQ(r.outcome.plies, 1);
        Position after = r.entry(0);
        applyMove(after, Side::Lower, c.expected);
        EXPECT_EQ(r.entry(1), after);
    }
    for (const char* bad : {"▲５七金", "△５二玉", "▲５五飛", "▲５七金寄"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(readKif(std::string(kKi2Diagram) + bad + "\n").error(),
                  movePlyMessage(kKifPrefix, 1));
    }
}

TEST(Ki2Moves, TheWriterAddsTheStandardWords) {
    const struct {
        const char* sfen;
        Move move;
        int32_t previousTo;
        const char* text;
    } cases[] = {
        // Golds on 5八 and 4八, a silver on 3四, a bishop and a silver in hand.
        {"l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", {58, 57}, 0, "５七金直"},
        {"l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", {48, 57}, 0, "５七金右"},
        {"l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", {58, 47}, 0, "４七金左"},
        {"l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", {58, 68}, 0, "６八金"},
        {"l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", {kLowerHandBase + kBishop, 55}, 0, "５五角"},
        {"l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", {kLowerHandBase + kSilver, 23}, 0, "２三銀打"},
        {"l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", {34, 123}, 0, "２三銀成"},
        {"l3k4/9/9/6S2/9/9/9/4GG3/4K4 b BS 1", {34, 23}, 23, "同　銀不成"},
        // Golds on 6八, 6九 and 4九 to 5八: how they move, then where they stand.
        {"4k4/9/9/9/9/9/9/3G5/3G1G2K b - 1", {69, 58}, 0, "５八金左上"},
        {"4k4/9/9/9/9/9/9/3G5/3G1G2K b - 1", {68, 58}, 0, "５八金寄"},
        {"4k4/9/9/9/9/9/9/3G5/3G1G2K b - 1", {49, 58}, 0, "５八金右"},
        // Two dragons: right and left, never 直.
        {"9/+R7+R/9/9/4k4/9/9/9/4K4 b - 1", {12, 52}, 0, "５二龍右"},
        {"9/+R7+R/9/9/4k4/9/9/9/4K4 b - 1", {92, 52}, 0, "５二龍左"},
        // 後手's right is toward the 9 file.
        {"k2g1g3/9/9/9/9/9/9/9/4K4 w - 1", {61, 52}, 0, "５二金右"},
        {"k2g1g3/9/9/9/9/9/9/9/4K4 w - 1", {41, 52}, 0, "５二金左"},
        // The gold on 4八 is pinned, yet the notation counts it.
        {"4k4/9/9/9/9/9/4b4/4GG3/6K2 b - 1", {58, 47}, 0, "４七金左"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Position p;
        Side side = Side::Lower;
        std::string error;
        ASSERT_TRUE(parseSfen(c.sfen, p, side, error)) << error;
        EXPECT_EQ(toUtf8(ki2MoveText(p, c.move, side, c.previousTo)), c.text);
    }
}

TEST(Ki2Moves, AGameWithRecapturesAndItsClosingLine) {
    const Read r = readKif(
        "手合割：平手\n先手：甲\n後手：乙\n"
        "▲７六歩　△３四歩　▲２二角成　△同　銀\n▲４五角　△３三角\n"
        "まで6手で後手の勝ち\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.outcome.plies, 6);
    EXPECT_EQ(r.entry(4)[22], kUpperSilver);
    EXPECT_EQ(r.entry(5)[45], kLowerBishop);
    EXPECT_EQ(r.entry(6)[33], kUpperBishop);
    EXPECT_EQ(r.entry(6)[kUpperHandBase + kBishop], 0);
    EXPECT_EQ(r.record->ending, GameEnding::Resign);
}

struct RoundTrip {
    const char* name;
    std::string file;  // UTF-8 text of the record read first
};

// The seconds of each ply, from the mover's running total.
std::vector<int32_t> plySeconds(const GameRecord& r) {
    std::vector<int32_t> seconds;
    for (int32_t i = 1; i <= r.length; ++i) {
        const int32_t cell = timeCellOfPly(r, i);
        seconds.push_back(r.history[i][cell] - r.history[i - 1][cell]);
    }
    return seconds;
}

void expectSameGame(const GameRecord& a, const GameRecord& b) {
    ASSERT_EQ(a.length, b.length);
    EXPECT_EQ(senteMovesFirst(a), senteMovesFirst(b));
    for (int32_t n = 0; n <= a.length; ++n) EXPECT_EQ(standardEntry(a, n), standardEntry(b, n)) << n;
    EXPECT_EQ(plySeconds(a), plySeconds(b));
    EXPECT_EQ(a.ending, b.ending);
    EXPECT_EQ(nameOf(a.firstName), nameOf(b.firstName));
    EXPECT_EQ(nameOf(a.secondName), nameOf(b.secondName));
}

TEST(RecordRoundTrip, EveryFormatWrittenReadsBackToTheSameGame) {
    const RoundTrip games[] = {
        {"even.csa", "N+甲\nN-乙\n+7776FU\nT5\n-3334FU\nT65\n+8822UM\nT1\n-3122GI\nT0\n"
                     "+0055KA\nT3\n-2233GI\nT2\n+5533UM\nT1\n%TORYO\n"},
        {"handicap.kif", "手合割：二枚落ち\n下手：下手\n上手：上手\n手数----指手--\n"
                         "1 ６二銀(71)   ( 0:02/00:00:02)\n2 ７六歩(77)   ( 0:09/00:00:09)\n"
                         "3 ５四歩(53)\n4 中断\n"},
        {"second.kif", std::string(kKi2Diagram) + "後手番\n手数----指手--\n1 ５二玉(51)\n"
                       "2 ２三銀不成(34)\n3 ６一玉(52)\n4 ２二銀成(23)\n5 詰み\n"},
    };
    for (const RoundTrip& g : games) {
        SCOPED_TRACE(g.name);
        LoadFixtureRecords f;
        ASSERT_EQ(f.load(g.name, g.file), 1);
        for (const bool turned : {false, true}) {
            const auto original = turned ? turnedOver(*f.record) : std::make_unique<GameRecord>(*f.record);
            for (const char* out : {"out.csa", "out.kif", "out.kifu", "OUT.KIF"}) {
                SCOPED_TRACE(out);
                const std::string path = (f.folder.path() / out).string();
                ASSERT_EQ(WriteRecord(*original, path, f.ui), 1);
                auto back = std::make_unique<GameRecord>();
                ASSERT_TRUE(LoadRecord(*back, path, f.ui).ok);
                expectSameGame(*original, *back);
            }
        }
    }
}

TEST(RecordRoundTrip, KifIsWrittenInTheClassicLayout) {
    LoadFixtureRecords f;
    ASSERT_EQ(f.load("a.csa", "PI11KY\nN+下\nN-上\n-\n-5354FU\nT2\n+7776FU\nT61\n-3334FU\n"
                               "%TORYO\n"), 1);
    EXPECT_EQ(toUtf8(FormatKif(*f.record)),
              "# ---- ぬさり将棋 棋譜ファイル ----\r\n"
              "手合割：香落ち\r\n"
              "下手：下\r\n"
              "上手：上\r\n"
              "手数----指手---------消費時間--\r\n"
              "   1 ５四歩(53)    ( 0:02/00:00:02)\r\n"
              "   2 ７六歩(77)    ( 1:01/00:01:01)\r\n"
              "   3 ３四歩(33)    ( 0:00/00:00:02)\r\n"
              "   4 投了          ( 0:00/00:01:01)\r\n"
              "まで3手で上手の勝ち\r\n");
}

// Records written by another program (tsshogi, through
// tools/record_corpus): each file of a game reads to the same positions.
TEST(RecordFixtures, FilesOfOtherProgramsReadToTheirGame) {
    const struct {
        const char* game;
        const char* start;
        const char* final;
        int32_t plies;
        GameEnding ending;
    } games[] = {
        {"even", "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b -",
         "lnsgg4/Br1k1s2l/p1p1ppnpp/1p1p2p2/3P5/2K2P1P1/P3PSP1P/1B4R2/LNSG1G1NL b 2p", 26,
         GameEnding::Resign},
        {"rook-handicap", "lnsgkgsnl/7b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w -",
         "lnsgs2nb/3k4l/1pBp1pgpp/p5p2/9/2P4PP/PP1PPPP2/L3KRS2/1NSG1G1NL w 2P", 24,
         GameEnding::Resign},
        {"white-to-move", "1n3ksnl/l2sg1pb1/ppgpp1+R1p/2r2p3/8P/P1p1P4/1PSP1PP2/L1G2S3/1NB1KG1NL w 2Pp",
         "1ns2ksnl/l3g1pp1/ppgpp3p/2r1Rp3/2PP5/+s3P4/2p2P+bP1/LB1G1S3/1N2KG1NL b 4p", 21,
         GameEnding::Interrupt},
    };
    auto sfenOf = [](const GameRecord& r, int32_t ply) {
        const std::string sfen = toSfen(standardEntry(r, ply), standardSideToMove(r, ply));
        return sfen.substr(0, sfen.rfind(' '));  // without the move number
    };
    int32_t files = 0;
    for (const auto& g : games) {
        for (const auto& entry : std::filesystem::directory_iterator(NUSARI_FIXTURE_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(std::string(g.game) + ".", 0) != 0 &&
                name.rfind(std::string(g.game) + "-bom.", 0) != 0) {
                continue;
            }
            SCOPED_TRACE(name);
            ++files;
            LoadFixtureRecords f;
            auto record = std::make_unique<GameRecord>();
            ASSERT_TRUE(LoadRecord(*record, entry.path().string(), f.ui).ok);
            EXPECT_EQ(sfenOf(*record, 0), g.start);
            EXPECT_EQ(sfenOf(*record, record->length), g.final);
            EXPECT_EQ(record->length, g.plies);
            EXPECT_EQ(record->ending, g.ending);
        }
    }
    EXPECT_EQ(files, 12);
}

}  // namespace
}  // namespace nusari::test
