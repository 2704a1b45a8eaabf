// The CSA grammar: items, position lines, moves, times and every failure.
#include <gtest/gtest.h>

#include "records/record_messages.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

TEST(CsaReader, MovesCapturesDropsAndPromotionsChangeTheHistory) {
    const Read r = readCsa("+7776FU\n-3334FU\n+8822UM\n-3122GI\n+0045KA\n");
    ASSERT_EQ(r.error(), "");
    ASSERT_EQ(r.outcome.plies, 5);
    const Position start = evenGame();
    EXPECT_EQ(r.entry(0), start);
    EXPECT_EQ(r.entry(1)[77], kEmpty);
    EXPECT_EQ(r.entry(1)[76], kLowerPawn);
    EXPECT_EQ(r.entry(2)[34], kUpperPawn);
    // The bishop takes the bishop and promotes; the silver takes the horse.
    EXPECT_EQ(r.entry(3)[22], kLowerHorse);
    EXPECT_EQ(r.entry(3)[kLowerHandBase + kBishop], 1);
    EXPECT_EQ(r.entry(4)[22], kUpperSilver);
    EXPECT_EQ(r.entry(4)[kUpperHandBase + kBishop], 1);
    // The dropped bishop leaves the first player's hand.
    EXPECT_EQ(r.entry(5)[45], kLowerBishop);
    EXPECT_EQ(r.entry(5)[kLowerHandBase + kBishop], 0);
    EXPECT_EQ(r.entry(5)[kUpperHandBase + kBishop], 1);
}

TEST(CsaReader, TimesGoToTheSideOfTheLastSignLine) {
    const Read r = readCsa("+7776FU\nT5\n-3334FU\nT7\n+2726FU,T12\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.entry(1)[kLowerTimeCell], 5);
    EXPECT_EQ(r.entry(1)[kUpperTimeCell], 0);
    EXPECT_EQ(r.entry(2)[kLowerTimeCell], 5);
    EXPECT_EQ(r.entry(2)[kUpperTimeCell], 7);
    EXPECT_EQ(r.entry(3)[kLowerTimeCell], 17);
    EXPECT_EQ(r.entry(3)[kUpperTimeCell], 7);
}

TEST(CsaReader, TimeItemsWithoutNumberOrSignLineAddNothing) {
    const Read r = readCsa("T9\n+\nT\n+7776FU\nTx\nT 4\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.entry(0)[kLowerTimeCell], 0);  // no sign line before the first T
    EXPECT_EQ(r.entry(1)[kLowerTimeCell], 4);
    EXPECT_EQ(r.entry(1)[kUpperTimeCell], 0);
}

TEST(CsaReader, HugeTimesStayWithinTheCell) {
    const Read r = readCsa("+7776FU\nT99999999999999999999\nT99999999999\nT99999999999\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_GT(r.entry(1)[kLowerTimeCell], 1000000000);
}

TEST(CsaReader, HeaderItemsAreReadOrSkipped) {
    const Read r = readCsa(
        "'comment with + - P N\nV2.2\nN+先手の人\nN-後手\n$START_TIME:2024/01/01 10:00:00\n"
        "$EVENT:x\n+\n+7776FU\n%TORYO");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(nameOf(r.record->firstName), cp932("先手の人"));
    EXPECT_EQ(nameOf(r.record->secondName), cp932("後手"));
    EXPECT_EQ(r.outcome.plies, 1);
}

TEST(CsaReader, NamesKeepEighteenBytesAndNeverHalfACharacter) {
    EXPECT_EQ(nameOf(readCsa("N+abcdefghijklmnopqrstuvwxy\n").record->firstName),
              "abcdefghijklmnopqr");
    // Seventeen ASCII bytes and a kanji: the kanji does not fit and goes whole.
    EXPECT_EQ(nameOf(readCsa("N-abcdefghijklmnopq漢字\n").record->secondName), "abcdefghijklmnopq");
    EXPECT_EQ(nameOf(readCsa("N+一二三四五六七八九十\n").record->firstName),
              cp932("一二三四五六七八九"));
    EXPECT_EQ(nameOf(readCsa("N+").record->firstName), "");
}

TEST(CsaReader, PositionRowsAndHandsSetTheStartPosition) {
    const Read r = readCsa(
        "P1-KY *  *  * -OU *  *  * -KY\n"
        "P5 *  * +TO *  *  * -RY *  * \n"
        "P9 *  *  *  * +OU *  *  *  * \n"
        "P+00KI00FU00FU\nP-00HI\nP-\n");
    ASSERT_EQ(r.error(), "");
    const Position& p = r.entry(0);
    EXPECT_EQ(p[91], kUpperLance);
    EXPECT_EQ(p[81], kEmpty);
    EXPECT_EQ(p[51], kUpperKing);
    EXPECT_EQ(p[11], kUpperLance);
    EXPECT_EQ(p[75], kLowerTokin);
    EXPECT_EQ(p[35], kUpperDragon);
    EXPECT_EQ(p[59], kLowerKing);
    EXPECT_EQ(p[77], kLowerPawn);  // rows not given keep the even game
    EXPECT_EQ(p[kLowerHandBase + kGold], 1);
    EXPECT_EQ(p[kLowerHandBase + kPawn], 2);
    EXPECT_EQ(p[kUpperHandBase + kRook], 1);
    EXPECT_EQ(p[kUpperHandBase + kPawn], 0);
}

TEST(CsaReader, WithoutPositionLinesTheGameStartsFromTheEvenGame) {
    const Read r = readCsa("N+a\n+7776FU\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.entry(0), evenGame());
}

struct Failure {
    const char* text;
    const char* message;
    int32_t plies;
};

TEST(CsaReader, EveryFailureHasItsMessage) {
    const Failure cases[] = {
        {"N*name\n", kCsaNameMessage, 0},
        {"N", kCsaNameMessage, 0},
        {"PX\n", kCsaPositionLineMessage, 0},
        {"P", kCsaPositionLineMessage, 0},
        {"PI82KA\n", kCsaBoardMessage, 0},  // no bishop stands on 8二
        {"P+5X\n", kCsaHandMessage, 0},
        {"P1-KY-KE-GI-KI-OU-KI-GI-KE-XX\n", kCsaBoardMessage, 0},
        {"P1-KY-KE\n", kCsaBoardMessage, 0},
        {"P0 *  *  *  *  *  *  *  *  * \n", kCsaBoardMessage, 0},
        {"P+00KI0FU\n", kCsaHandMessage, 0},
        {"P+00OU\n", kCsaHandMessage, 0},
        {"P-00TO\n", kCsaHandMessage, 0},
        {"P+55AL\n", kCsaBoardMessage, 0},
        {"+7776FU\nP1 *  *  *  *  *  *  *  *  * \n", kCsaPositionLineMessage, 1},
        {"+7776FU\n+ 7776FU\n", kCsaMoveMessage, 1},
        {"+7776XX\n", kCsaMoveMessage, 0},
        {"+77A6FU\n", kCsaMoveMessage, 0},
        {"+777", kCsaMoveMessage, 0},
        {"+7776F", kCsaMoveMessage, 0},
        {"+7770FU\n", kCsaMoveMessage, 0},  // rank 0 is off the board
        {"+7006FU\n", kCsaMoveMessage, 0},
        {"-0000FU\n", kCsaMoveMessage, 0},
    };
    for (const Failure& f : cases) {
        SCOPED_TRACE(f.text);
        const Read r = readCsa(f.text);
        EXPECT_EQ(r.error(), f.message);
        EXPECT_EQ(r.outcome.plies, f.plies);
    }
}

TEST(CsaReader, MovesBeyondTheHistoryFailAtPly1000) {
    // The kings step out and back, four plies a round.
    const char* steps[4] = {"+5958OU\n", "-5152OU\n", "+5859OU\n", "-5251OU\n"};
    std::string text;
    for (int i = 0; i < kMaxRecordPlies; ++i) text += steps[i % 4];
    const Read full = readCsa(text);
    EXPECT_EQ(full.error(), "");
    EXPECT_EQ(full.outcome.plies, kMaxRecordPlies);

    const Read over = readCsa(text + steps[kMaxRecordPlies % 4] + "T1\n");
    EXPECT_EQ(over.error(), kCsaTooLongMessage);
    EXPECT_EQ(over.outcome.plies, kMaxRecordPlies);
}

TEST(CsaReader, CrLfAndLfReadAlike) {
    const std::string lf = cp932("N+名前\nP+00FU\n+7776FU\nT3\n");
    std::string crlf;
    for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const Read a = readCsaBytes(lf);
    const Read b = readCsaBytes(crlf);
    EXPECT_EQ(a.error(), "");
    EXPECT_EQ(b.error(), "");
    EXPECT_EQ(a.record->history[1], b.record->history[1]);
    EXPECT_EQ(nameOf(a.record->firstName), nameOf(b.record->firstName));
}

}  // namespace
}  // namespace nusari::test
