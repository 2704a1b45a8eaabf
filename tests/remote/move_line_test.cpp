// The CSA move line: the computer's moves written, the remote's read back
// and checked against the rules, in both orientations.
#include <gtest/gtest.h>

#include <random>

#include "position/csa_notation.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/setup.h"
#include "remote/csa_move_line.h"
#include "remote/game_summary.h"

namespace nusari {
namespace {

Position evenStart() {
    Position p;
    setupPosition(p, kPresetEven);
    return p;
}

// Two kings (lower on 59, upper on 51) and the pieces given.
Position boardWith(std::initializer_list<std::pair<int32_t, int32_t>> pieces) {
    Position p;
    setupPosition(p, 0);
    p[59] = kLowerKing;
    p[51] = kUpperKing;
    for (const auto& [square, code] : pieces) p[square] = code;
    return p;
}

TEST(MoveLineTest, TheComputersMovesAreWrittenInTheRealGamesSquares) {
    struct Case {
        Move move;
        int32_t piece;  // on the destination after the move
        int32_t ply;
        bool humanIsSecond;
        const char* line;
    };
    const Case cases[] = {
        {{33, 34}, kUpperPawn, 2, false, "-3334FU\n"},
        {{33, 34}, kUpperPawn, 1, true, "+7776FU\n"},  // the computer moves first
        {{kUpperHandBase + kPawn, 55}, kUpperPawn, 6, false, "-0055FU\n"},
        {{kUpperHandBase + kGold, 19}, kUpperGold, 3, true, "+0091KI\n"},
        {{22, 188}, kUpperHorse, 4, false, "-2288UM\n"},
        {{17, 118}, kUpperProSilver, 5, true, "+9392NG\n"},
        {{51, 41}, kUpperKing, 8, false, "-5141OU\n"},
        {{82, 189}, kUpperDragon, 9, true, "+2821RY\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeMoveLine(c.move, c.piece, c.ply, c.humanIsSecond), c.line) << c.line;
    }
}

TEST(MoveLineTest, EveryPieceNameIsKnownAndNothingElse) {
    const std::pair<const char*, int32_t> names[] = {
        {"OU", 0}, {"HI", 1},  {"KA", 2},  {"KI", 3},  {"GI", 4},  {"KE", 5},  {"KY", 6},
        {"FU", 7}, {"RY", 9},  {"UM", 10}, {"NG", 12}, {"NK", 13}, {"NY", 14}, {"TO", 15}};
    for (const auto& [letters, code] : names) EXPECT_EQ(LowerCodeOfLetters(letters), code);
    for (const char* other : {"", "F", "fu", "FUX", "* ", "  ", "OO", "\0U"}) {
        EXPECT_EQ(LowerCodeOfLetters(other), -1) << other;
    }
}

TEST(MoveLineTest, TheRemotesLinesBecomeLegalMovesOfTheLowerSide) {
    struct Case {
        Position board;
        const char* body;
        bool humanIsSecond;
        Move move;
    };
    Position bishopInHand = boardWith({});
    bishopInHand[kLowerHandBase + kBishop] = 1;
    const Case cases[] = {
        {evenStart(), "7776FU\n", false, {77, 76}},
        {boardWith({{33, kLowerGold}}), "7776KI\n", true, {33, 34}},
        {bishopInHand, "0055KA\n", false, {kLowerHandBase + kBishop, 55}},
        {boardWith({{28, kLowerRook}}), "2822RY\n", false, {28, 122}},  // promotes by its letters
        {boardWith({{28, kLowerRook}}), "2822HI,T12", false, {28, 22}},
        {boardWith({{13, kLowerPawn}}), "1312TO", false, {13, 112}},
        {boardWith({{98, kLowerDragon}}), "1213RY\n", true, {98, 97}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const std::optional<Move> m = DecodeMoveBody(c.body, c.board, c.humanIsSecond);
        ASSERT_TRUE(m.has_value());
        EXPECT_EQ(*m, c.move);
    }
}

TEST(MoveLineTest, LinesThatAreNoLegalMoveAreRefused) {
    const Position p = boardWith({{28, kLowerRook}, {25, kLowerPawn}, {77, kLowerPawn},
                                  {13, kLowerPawn}, {55, kLowerGold}});
    for (const char* body :
         {"", "7776F", "77x6FU", "7776XX", "7776fu", "7775FU", "7776KI", "7776TO", "0055KA",
          "0055TO", "0054OU", "2822RY", "2825HI", "0000FU", "7770FU", "1311FU", "5544NG",
          "5546KI", "1011FU", "5951OU", "9999KY"}) {
        EXPECT_FALSE(DecodeMoveBody(body, p, false).has_value()) << body;
    }
    // The squares of a remote that moves second are turned before the check.
    EXPECT_FALSE(DecodeMoveBody("2822HI", p, true).has_value());
    EXPECT_EQ(DecodeMoveBody("8283HI", p, true), (Move{28, 27}));
}

// Every legal move written by the record writer's notation reads back as
// itself, from both sides of the board, through whole random games.
TEST(MoveLineTest, EveryLegalMoveReadsBackAsItself) {
    std::mt19937 random(7);
    Position p = evenStart();
    int checked = 0;
    for (int ply = 0; ply < 160; ++ply) {
        MoveList list;
        generateLegalMoves(p, Side::Lower, list);
        if (list.count == 0) break;
        const Position turned = flipPosition(p);
        for (const Move& m : list) {
            const std::string line = csaMoveText(p, Side::Lower, m);
            ASSERT_EQ(DecodeMoveBody(std::string_view(line).substr(1), p, false), m) << line;
            // The same move seen by a remote that moves second.
            const std::string seen = csaMoveText(turned, Side::Upper, flipMove(m));
            ASSERT_EQ(DecodeMoveBody(std::string_view(seen).substr(1), p, true), m) << seen;
            ++checked;
        }
        applyLowerMove(p, list.moves[random() % static_cast<uint32_t>(list.count)]);
        p = flipPosition(p);
    }
    EXPECT_GT(checked, 3000);
}

// Arbitrary bytes are refused or read as a legal move; the position is
// never read outside its cells.
TEST(MoveLineTest, ArbitraryBytesAreSafe) {
    std::mt19937 random(11);
    const std::string likely = "0123456789FUKIGIHIKAOURYTOUMNGNKNY";
    Position p = evenStart();
    p[kLowerHandBase + kPawn] = 2;
    p[kLowerHandBase + kKnight] = 1;
    for (int i = 0; i < 200000; ++i) {
        std::string body;
        const std::size_t n = random() % 9;
        for (std::size_t k = 0; k < n; ++k) {
            body += random() % 4 == 0 ? static_cast<char>(random() % 256)
                                      : likely[random() % likely.size()];
        }
        const bool second = (i & 1) != 0;
        if (const std::optional<Move> m = DecodeMoveBody(body, p, second)) {
            EXPECT_TRUE(isLegalMove(p, Side::Lower, *m)) << body;
        }
    }
}

}  // namespace
}  // namespace nusari

namespace nusari {
namespace {

GameSummary summaryOf(std::initializer_list<const char*> lines) {
    GameSummary s;
    for (const char* line : lines) ReadSummaryLine(line, s);
    return s;
}

// The time a move may take by the server's clock: the rest over the moves
// to come, plus increment and byoyomi, less the network's margin.
TEST(GameSummary, TheServersClockCapsAMove) {
    const struct {
        GameSummary summary;
        int64_t usedMs;
        int32_t capMs;
    } cases[] = {
        {summaryOf({"Total_Time:600\n", "Byoyomi:0\n", "Time_Unit:1sec\n"}), 0, 15000 - 500},
        {summaryOf({"Total_Time:600", "Time_Unit:1sec"}), 560000, 1000 - 500},
        {summaryOf({"Total_Time:0", "Byoyomi:10"}), 0, 10000 - 500},
        {summaryOf({"Total_Time:300", "Increment:10", "Time_Unit:1sec"}), 300000, 10000 - 500},
        {summaryOf({"Total_Time:10", "Time_Unit:1min"}), 0, 15000 - 500},
        {summaryOf({"Total_Time:60000", "Time_Unit:1msec"}), 90000, 1},  // over: the least
        {summaryOf({"Name+:x", "Name-:y"}), 0, 0},  // no clock, no cap
        {summaryOf({"Total_Time:99999999999999999999"}), 0, 1000000000},
        {summaryOf({"Total_Time:abc", "Byoyomi:-3", "Time_Unit:2hours"}), 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(MoveTimeCapMs(c.summary, c.usedMs), c.capMs);
    const GameSummary named = summaryOf({"Name+:sente_player\r\n", "Name-:gote\n"});
    EXPECT_EQ(named.firstName, "sente_player");
    EXPECT_EQ(named.secondName, "gote");
}

}  // namespace
}  // namespace nusari
