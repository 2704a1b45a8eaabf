// The book builder: a book built from records makes ProbeBook play the
// recorded moves, from either side.
#include "records/book_builder.h"

#include <gtest/gtest.h>

#include "aik/aik_loader.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "records_test_support.h"
#include "think/book.h"
#include "think/book_random.h"

namespace nusari::test {
namespace {

// 横歩取り, with a capture, drops of both sides and a promotion at the end.
constexpr const char* kSidePawn =
    "+7776FU\n-3334FU\n+2726FU\n-8384FU\n+2625FU\n-8485FU\n+6978KI\n-4132KI\n+2524FU\n-2324FU\n"
    "+2824HI\n-8586FU\n+8786FU\n-8286HI\n+2434HI\n-2233KA\n+3436HI\n-8684HI\n+3626HI\n-3122GI\n"
    "+0087FU\n-0023FU\n+5968OU\n-5152OU\n+8833UM\n";

std::unique_ptr<GameRecord> game(const char* csa) {
    Read r = readCsa(csa);
    EXPECT_EQ(r.error(), "");
    r.record->length = r.outcome.plies;
    return std::move(r.record);
}

struct BookFixture {
    TempFolder folder;
    std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
    FakeUi ui;

    // Writes the book and an engine file naming it, and loads the engine.
    void load(const BookBuilder& book) {
        folder.writeBytes("book.jsk", book.bytes());
        writeText(folder, "book.txk", "msg[7]\n横歩取りです}\n");
        state->enginePath = writeText(folder, "e.aik", "ver=0.0.2\nzyouseki=book\n");
        ASSERT_EQ(LoadAik(*state, state->enginePath, ui), 1);
        seedRandom(state->randomState, 1);
    }
};

TEST(BookBuilder, ProbeBookPlaysEveryRecordedMoveForEitherSide) {
    const auto record = game(kSidePawn);
    BookBuilder book;
    int32_t stoppedAt = -1;
    ASSERT_EQ(book.addRecord(*record, 40, 7, stoppedAt), BookBuilder::AddResult::Added);
    EXPECT_EQ(stoppedAt, 0);
    ASSERT_EQ(book.size(), record->length);
    BookFixture f;
    f.load(book);
    ASSERT_EQ(f.state->bookTable.count(), book.size());

    for (int32_t ply = 1; ply <= record->length; ++ply) {
        SCOPED_TRACE(ply);
        const Position& before = record->history[ply - 1];
        const Position& after = record->history[ply];
        // The computer is the upper side of the game: as the second player
        // it sees the record as it stands, as the first player turned.
        const bool computerFirst = ply % 2 == 1;
        const Position current = withoutTimes(computerFirst ? flipPosition(before) : before);
        const Move expected = computerFirst ? flipMove(moveOfPly(before, after, Side::Lower))
                                            : moveOfPly(before, after, Side::Upper);
        ASSERT_TRUE(isLegalMove(current, Side::Upper, expected));
        const InducedMoves induced = ProbeBook(*f.state, current);
        EXPECT_GE(induced.move[0].weight, kBookMoveWeight);
        EXPECT_EQ((Move{induced.move[0].from, induced.move[0].to}), expected);
        EXPECT_EQ(induced.move[0].messageNumber, 7);
        EXPECT_EQ(induced.move[0].message, cp932("横歩取りです"));
    }
    // The last position of the game is in no book record.
    const Position end = withoutTimes(record->history[record->length]);
    EXPECT_LT(ProbeBook(*f.state, end).move[0].weight, kBookMoveWeight);
}

TEST(BookBuilder, DropsAndPromotionsAreStoredAsTheLookupReadsThem) {
    const auto record = game(kSidePawn);
    // Ply 21 drops the first player's pawn on 87; seen from the mover it is
    // an upper-side drop from hand cell 126 to 23. Ply 25 takes the bishop
    // on 33 and promotes: 88 -> 33 seen as 22 -> 77 + 100.
    const Move drop = flipMove(moveOfPly(record->history[20], record->history[21], Side::Lower));
    EXPECT_EQ(drop, (Move{kUpperHandBase + kPawn, 23}));
    const Move promotion =
        flipMove(moveOfPly(record->history[24], record->history[25], Side::Lower));
    EXPECT_EQ(promotion, (Move{22, 77 + kPromotionOffset}));

    // File bytes: from, to, 0, the message number high byte first, squares
    // 11..19, 21..29, ..., then the lower and the upper side's hand.
    const Position seen = flipPosition(record->history[24]);
    const BookFileRecord r = packBookRecord(seen, promotion, 0x010203);
    EXPECT_EQ(r[0], 22);
    EXPECT_EQ(r[1], 177);
    EXPECT_EQ(r[2], 0);
    EXPECT_EQ(r[3], 1);
    EXPECT_EQ(r[4], 2);
    EXPECT_EQ(r[5], 3);
    EXPECT_EQ(r[6], seen[11]);
    EXPECT_EQ(r[6 + 9], seen[21]);
    EXPECT_EQ(r[6 + 80], seen[99]);
    // The mover, the first player, holds two pawns; the second player one.
    EXPECT_EQ(r[6 + 81 + 6], 1);
    EXPECT_EQ(r[6 + 81 + 7 + 6], 2);
}

TEST(BookBuilder, RepeatedPositionsAreStoredOnce) {
    const auto record = game(kSidePawn);
    BookBuilder book;
    int32_t stoppedAt = 0;
    book.addRecord(*record, 10, 1, stoppedAt);
    EXPECT_EQ(book.size(), 10);
    book.addRecord(*record, 12, 2, stoppedAt);
    EXPECT_EQ(book.size(), 12);
    EXPECT_EQ(book.bytes().size(), 12u * kBookFileRecordBytes);
    // The first record of a position keeps its message number.
    EXPECT_EQ(static_cast<uint8_t>(book.bytes()[5]), 1);
    EXPECT_EQ(static_cast<uint8_t>(book.bytes()[11 * kBookFileRecordBytes + 5]), 2);
}

TEST(BookBuilder, AnIllegalPlyStopsTheRecord) {
    // Ply 3 drops a pawn the first player does not hold (no reader lets
    // such a record in; a record built by hand may have it).
    auto record = game("+7776FU\n-3334FU\n");
    record->history[3] = record->history[2];
    record->history[3][75] = kLowerPawn;
    record->length = 3;
    BookBuilder book;
    int32_t stoppedAt = 0;
    EXPECT_EQ(book.addRecord(*record, 24, 1, stoppedAt), BookBuilder::AddResult::IllegalPly);
    EXPECT_EQ(stoppedAt, 3);
    EXPECT_EQ(book.size(), 2);
}

// Plays random legal games into records until the book is full.
TEST(BookBuilder, AFullBookStops) {
    BookBuilder book;
    uint32_t seed = 12345;
    auto record = freshRecord();
    BookBuilder::AddResult result = BookBuilder::AddResult::Added;
    for (int32_t g = 0; g < 200 && result != BookBuilder::AddResult::Full; ++g) {
        Position p = record->history[0];
        int32_t n = 0;
        for (; n < 150; ++n) {
            const Side mover = n % 2 == 0 ? Side::Lower : Side::Upper;
            MoveList list;
            generateLegalMoves(p, mover, list);
            if (list.count == 0) break;
            applyMove(p, mover, list.moves[nextRandom(seed) % list.count]);
            record->history[n + 1] = p;
        }
        record->length = n;
        int32_t stoppedAt = 0;
        result = book.addRecord(*record, kMaxRecordPlies, g + 1, stoppedAt);
    }
    EXPECT_EQ(result, BookBuilder::AddResult::Full);
    EXPECT_EQ(book.size(), kBookCapacity);
}

}  // namespace
}  // namespace nusari::test
