#include "think/book.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"
#include "think/book_random.h"
#include "think_test_support.h"

namespace nusari {
namespace {

using test::blankEngine;

// A book record of position p (computer = upper side) with move (from, to).
BookRecord recordOf(const Position& p, int32_t from, int32_t to, int32_t message = 0) {
    BookRecord r{};
    for (int32_t k = 11; k <= 126; ++k) {
        if (k != 111 && k != 119) r.byte[k] = static_cast<uint8_t>(p[k]);
    }
    r.byte[kBookFromByte] = static_cast<uint8_t>(from);
    r.byte[kBookToByte] = static_cast<uint8_t>(to);
    r.byte[kBookMessageByte] = static_cast<uint8_t>(message >> 16);
    r.byte[kBookMessageByte + 1] = static_cast<uint8_t>(message >> 8);
    r.byte[kBookMessageByte + 2] = static_cast<uint8_t>(message);
    AttackMap map;
    buildAttackMap(p, map);
    r.byte[kBookLowerCountByte] = static_cast<uint8_t>(map.lowerCount[to % 100]);
    r.byte[kBookUpperCountByte] = static_cast<uint8_t>(map.upperCount[to % 100]);
    return r;
}

Position evenGame() {
    Position p;
    setupPosition(p, kPresetEven);
    return p;
}

TEST(BookRecordApplies, NeedsTheSamePiecesAndNoMoreLowerAttackers) {
    const Position p = evenGame();
    const BookRecord r = recordOf(p, 33, 34);  // the upper pawn 3c-3d
    AttackMap map;
    buildAttackMap(p, map);
    EXPECT_TRUE(BookRecordApplies(p, r, map));

    Position moved = p;
    moved[33] = kEmpty;
    buildAttackMap(moved, map);
    EXPECT_FALSE(BookRecordApplies(moved, r, map));  // nothing on `from`

    Position attacked = p;
    attacked[37] = kEmpty;
    attacked[35] = kLowerLance;  // now covers 3d
    buildAttackMap(attacked, map);
    EXPECT_FALSE(BookRecordApplies(attacked, r, map));  // the human attacks 3d more often
}

// A forged book matches the position but names no legal move: it is never
// played, neither as the book move nor as an induced move.
TEST(ProbeBook, RecordsThatAreNoLegalMoveAreSkipped) {
    const Position p = evenGame();
    const struct {
        const char* what;
        int32_t from, to;
    } forged[] = {
        {"bytes beyond the board", 255, 255},
        {"a destination off the board", 33, 30},
        {"onto an own piece", 31, 22},
        {"a drop of a piece not in hand", kUpperHandBase + kRook, 55},
        {"a move the piece cannot make", 33, 36},
        {"a promotion outside the zone", 33, 134},
    };
    for (const auto& f : forged) {
        SCOPED_TRACE(f.what);
        auto state = blankEngine();
        BookRecord r = recordOf(p, f.from % 100 == f.from ? f.from : 33, f.to % 100);
        r.byte[kBookFromByte] = static_cast<uint8_t>(f.from);
        r.byte[kBookToByte] = static_cast<uint8_t>(f.to);
        state->bookTable.record[0] = r;
        const InducedMoves m = ProbeBook(*state, p);
        for (const InducedMove& move : m.move) EXPECT_EQ(move.from, 0);
    }
}

TEST(ProbeBook, EmptyBookKeepsThePlaceholders) {
    auto state = blankEngine();
    const InducedMoves m = ProbeBook(*state, evenGame());
    for (int32_t r = 0; r < kInducedMoveCount; ++r) {
        EXPECT_EQ(m.move[r].from, 0);
        EXPECT_EQ(m.move[r].weight, 80 - 10 * r);
    }
}

TEST(ProbeBook, ExactMatchesDrawTheirWeightsAndTheHigherWins) {
    auto state = blankEngine();
    const Position p = evenGame();
    state->bookTable.record[0] = recordOf(p, 33, 34);
    state->bookTable.record[1] = recordOf(p, 73, 74);
    seedRandom(state->randomState, 7);
    uint32_t replay = state->randomState;
    const int32_t first = 100 + nextRandom(replay) % 10;
    const int32_t second = 100 + nextRandom(replay) % 10;
    const InducedMoves m = ProbeBook(*state, p);
    const bool secondWins = second > first;
    EXPECT_EQ(m.move[0].from, secondWins ? 73 : 33);
    EXPECT_EQ(m.move[0].weight, secondWins ? second : first);
}

TEST(ProbeBook, SimilarPositionsBecomeRankedInducedMoves) {
    auto state = blankEngine();
    const Position p = evenGame();
    // The book position differs from p in 25 weighted units: it becomes
    // induced move 2 behind the placeholder of weight 80.
    Position book = p;
    for (const int32_t s : {97, 87, 77, 67}) book[s] = kEmpty;  // 4 squares (weight 1 each)
    book[kLowerHandBase + kPawn] = 21;                          // 21 pawns more in hand
    state->bookTable.record[0] = recordOf(book, 33, 34);
    // Two records proposing the same move: listed once, with the higher similarity.
    Position closer = p;
    closer[97] = kEmpty;
    closer[kLowerHandBase + kPawn] = 1;
    state->bookTable.record[1] = recordOf(closer, 73, 74);
    Position farther = p;
    for (const int32_t s : {97, 87, 77}) farther[s] = kEmpty;
    farther[kLowerHandBase + kPawn] = 3;
    state->bookTable.record[2] = recordOf(farther, 73, 74);

    const InducedMoves m = ProbeBook(*state, p);
    // closer: 100 - 1 (pawn in hand) - 1 (square) = 98; farther: 100 - 3 - 3 = 94.
    EXPECT_EQ(m.move[0].from, 73);
    EXPECT_EQ(m.move[0].weight, 98);
    EXPECT_EQ(m.move[1].weight, 80);  // the placeholder, shifted down
    EXPECT_EQ(m.move[1].from, 0);
    int listed = 0;
    for (const InducedMove& x : m.move) listed += x.from == 73 ? 1 : 0;
    EXPECT_EQ(listed, 1);
    // 100 - 21 - 4 = 75 ranks behind 98 and 80.
    EXPECT_EQ(m.move[2].from, 33);
    EXPECT_EQ(m.move[2].weight, 75);
}

TEST(BookMessages, HeadersBodiesAndLimits) {
    InducedMoves m;
    m.move[0].messageNumber = 12345;
    m.move[1].messageNumber = 7;
    m.move[2].messageNumber = 0;
    const std::string txk =
        "' a comment\r\n"
        "  msg[1234567] rest of the header\r\n"
        "first\r\nbody}\r\n"
        "msg[7]\r\nold}\r\n"
        "msg[7]\r\nnew}\r\n"
        "msg[]\r\nzero}\r\n";
    ReadBookMessages(txk, m);
    EXPECT_EQ(m.move[0].message, "first\nbody");
    EXPECT_EQ(m.move[1].message, "new");
    EXPECT_EQ(m.move[2].message, "zero");  // no digits: number 0
    EXPECT_EQ(m.move[3].message, "zero");  // placeholders carry number 0 too
}

TEST(BookMessages, LongBodyIsCutAndTheNextByteLost) {
    InducedMoves m;
    m.move[0].messageNumber = 1;
    m.move[1].messageNumber = 2;
    const std::string txk = "msg[1]\n" + std::string(255, 'a') + "Xmsg[2]\nshort}";
    ReadBookMessages(txk, m);
    EXPECT_EQ(m.move[0].message, std::string(255, 'a'));
    EXPECT_EQ(m.move[1].message, "short");
    // No closing brace and no bytes at all: no crash.
    ReadBookMessages("msg[1]", m);
    ReadBookMessages("msg[1]\nabc", m);
    EXPECT_EQ(m.move[0].message, "abc");
}

TEST(ProbeBook, ReadsTheMessageFileBesideTheEngine) {
    auto state = blankEngine();
    const test::TempFolder folder;
    const std::filesystem::path& dir = folder.path();
    {
        std::ofstream txk(dir / "joseki.txk", std::ios::binary);
        txk << "msg[5]\r\nA plan.}\r\n";
    }
    state->enginePath = (dir / "engine.aik").string();
    state->profile.zyouseki = "joseki";
    const Position p = evenGame();
    state->bookTable.record[0] = recordOf(p, 33, 34, 5);
    const InducedMoves m = ProbeBook(*state, p);
    EXPECT_GE(m.move[0].weight, 100);
    EXPECT_EQ(m.move[0].message, "A plan.");

    // A FIFO or a device in its place is not read (nor waited on).
    std::filesystem::remove(dir / "joseki.txk");
    ASSERT_EQ(::mkfifo((dir / "joseki.txk").c_str(), 0600), 0);
    EXPECT_EQ(ProbeBook(*state, p).move[0].message, "");
    std::filesystem::remove(dir / "joseki.txk");
    std::filesystem::create_symlink("/dev/zero", dir / "joseki.txk");
    EXPECT_EQ(ProbeBook(*state, p).move[0].message, "");
}

}  // namespace
}  // namespace nusari
