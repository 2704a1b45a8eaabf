// The opening records in data/openings, the book built from them and the
// default engine that names it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "aik/aik_loader.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "records/book_builder.h"
#include "records/load_record.h"
#include "records_test_support.h"
#include "think/book.h"
#include "think/book_random.h"
#include "think/think_for_side.h"
#include "think/think_texts.h"

namespace nusari::test {
namespace {

// As scripts/make_book.sh builds the shipped book.
constexpr int32_t kShippedBookPlies = 40;
const std::filesystem::path kData = NUSARI_DATA_DIR;

// The opening records in name order; record k carries message k.
std::vector<std::string> openingFiles() {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(kData / "openings")) {
        if (e.path().extension() == ".csa") files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::unique_ptr<GameRecord> load(const std::string& path) {
    auto record = std::make_unique<GameRecord>();
    FakeUi ui;
    EXPECT_TRUE(LoadRecord(*record, path, ui).ok) << path;
    return record;
}

TEST(ShippedBook, EveryOpeningRecordIsALegalGameOfAtLeast24Plies) {
    const std::vector<std::string> files = openingFiles();
    ASSERT_GE(files.size(), 4u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const auto record = load(file);
        EXPECT_GE(record->length, 24);
        EXPECT_EQ(record->history[0], evenGame());
        for (int32_t ply = 1; ply <= record->length; ++ply) {
            const Side mover = ply % 2 == 1 ? Side::Lower : Side::Upper;
            const Position before = withoutTimes(record->history[ply - 1]);
            const Move move = moveOfPly(before, record->history[ply], mover);
            ASSERT_TRUE(isLegalMove(before, mover, move)) << "ply " << ply;
            Position made = before;
            applyMove(made, mover, move);
            ASSERT_EQ(made, withoutTimes(record->history[ply])) << "ply " << ply;
        }
    }
}

TEST(ShippedBook, TheShippedBookIsBuiltFromTheOpeningRecords) {
    BookBuilder book;
    const std::vector<std::string> files = openingFiles();
    for (std::size_t k = 0; k < files.size(); ++k) {
        int32_t stoppedAt = 0;
        ASSERT_EQ(book.addRecord(*load(files[k]), kShippedBookPlies, static_cast<int32_t>(k + 1),
                                 stoppedAt),
                  BookBuilder::AddResult::Added);
    }
    EXPECT_EQ(fileBytes(kData / "aik" / "hyoujun.jsk"), book.bytes())
        << "rebuild it with scripts/make_book.sh";
}

TEST(ShippedBook, EveryOpeningHasAMessage) {
    InducedMoves moves;
    const int32_t count = static_cast<int32_t>(openingFiles().size());
    for (int32_t k = 0; k < count; ++k) moves.move[k].messageNumber = k + 1;
    ReadBookMessages(fileBytes(kData / "aik" / "hyoujun.txk"), moves);
    for (int32_t k = 0; k < count; ++k) {
        EXPECT_FALSE(moves.move[k].message.empty()) << k + 1;
        EXPECT_EQ(toCp932(toUtf8(moves.move[k].message)), moves.move[k].message);
    }
}

// The default engine plays a book move, with its line's message, in every
// position of the openings, as the first and as the second player.
TEST(ShippedBook, TheDefaultEnginePlaysTheBookInEveryOpeningPosition) {
    auto state = std::make_unique<EngineState>();
    FakeUi ui;
    state->enginePath = (kData / "aik" / "標準.aik").string();
    ASSERT_EQ(LoadAik(*state, state->enginePath, ui), 1);
    EXPECT_EQ(state->profile.zyouseki, "hyoujun");
    seedRandom(state->randomState, 7);

    // The book moves of every position the computer meets, in the game frame.
    std::map<std::vector<int32_t>, std::set<std::pair<int32_t, int32_t>>> bookMoves;
    std::vector<Position> positions;
    for (const std::string& file : openingFiles()) {
        const auto record = load(file);
        for (int32_t ply = 1; ply <= std::min(record->length, kShippedBookPlies); ++ply) {
            const bool computerFirst = ply % 2 == 1;
            const Position& before = record->history[ply - 1];
            Move move =
                moveOfPly(before, record->history[ply], computerFirst ? Side::Lower : Side::Upper);
            Position current = withoutTimes(computerFirst ? flipPosition(before) : before);
            if (computerFirst) move = flipMove(move);
            const std::vector<int32_t> key(current.cell.begin(), current.cell.end());
            if (bookMoves[key].empty()) positions.push_back(current);
            bookMoves[key].insert({move.from, move.to});
        }
    }
    EXPECT_EQ(state->bookTable.count(),
              static_cast<int32_t>(fileBytes(kData / "aik" / "hyoujun.jsk").size() /
                                   kBookFileRecordBytes));

    for (const Position& p : positions) {
        const Move m = ThinkForSide(*state, ui, p, Side::Upper);
        const std::vector<int32_t> key(p.cell.begin(), p.cell.end());
        EXPECT_EQ(bookMoves[key].count({m.from, m.to}), 1u) << m.from << "-" << m.to;
        const std::string panel = ui.panelText();
        ASSERT_EQ(panel.rfind(kBookResultText, 0), 0u) << panel;
        EXPECT_GT(panel.size(), std::string(kBookResultText).size());
        EXPECT_NE(panel.find("定跡："), std::string::npos) << panel;
    }
}

}  // namespace
}  // namespace nusari::test
