#include "analysis/hit_analysis.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "position/legal_moves.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "think/think_test_support.h"

namespace nusari {
namespace {

namespace fs = std::filesystem;

// The even-game opening 7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i4h 8b4b 5i6h 5a6b 6h7h 6b7b
const char* const kMoves[] = {"+7776FU", "-3334FU", "+2726FU", "-4344FU", "+2625FU", "-2233KA",
                              "+3948GI", "-8242HI", "+5968OU", "-5162OU", "+6878OU", "-6272OU"};

void writeCsa(const fs::path& path, int plies) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << "V2\r\nN+a\r\nN-b\r\n+\r\n";  // no board lines: the even game
    for (int i = 0; i < plies; ++i) out << kMoves[i] << "\r\n";
}

class HitAnalysis : public ::testing::Test {
protected:
    void SetUp() override { test::setStandardValues(*state); }

    HitStats run() {
        HitStats stats;
        AnalyzeTeacherGames(*state, *record, dir.string(), stats, ui);
        return stats;
    }

    // The teacher folder, made by the first file written into it.
    test::TempFolder folder;
    fs::path dir = folder.path() / "kif";
    test::EnginePtr state = test::blankEngine(100);
    std::unique_ptr<GameRecord> record = std::make_unique<GameRecord>();
    test::FakeUi ui;
};

TEST_F(HitAnalysis, ShortGamesCountButAddNoPositions) {
    writeCsa(dir / "nine.csa", 9);
    writeCsa(dir / "twelve.csa", 12);
    writeCsa(dir / "notes.txt", 12);  // not a teacher game
    const HitStats stats = run();
    EXPECT_EQ(stats.games, 2);
    EXPECT_EQ(stats.positions, 3);  // plies 10, 11 and 12
    int32_t ranked = stats.misses;
    for (const int32_t h : stats.hits) ranked += h;
    EXPECT_EQ(ranked, 3);
    EXPECT_EQ(ui.panelText(), "現在分析中\n 処理棋譜数 = 2");
}

TEST_F(HitAnalysis, AFileThatFailsCountsAsAGameWithoutPositions) {
    writeCsa(dir / "a.csa", 12);
    std::ofstream(dir / "b.csa", std::ios::binary) << "V2\r\nPZ\xff\r\n";
    const HitStats stats = run();
    EXPECT_EQ(stats.games, 2);
    EXPECT_EQ(stats.positions, 3);
    EXPECT_FALSE(ui.messages.empty());  // the reader's message box
}

TEST_F(HitAnalysis, FifosAndDevicesAreSkippedWithoutWaiting) {
    writeCsa(dir / "a.csa", 12);
    ASSERT_EQ(::mkfifo((dir / "f.kif").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "x.csa");
    const HitStats stats = run();
    EXPECT_EQ(stats.games, 1);
    EXPECT_EQ(stats.positions, 3);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HitAnalysis, EmptyOrMissingFolderGivesNothing) {
    const HitStats stats = run();
    EXPECT_EQ(stats.games, 0);
    EXPECT_EQ(stats.positions, 0);
    EXPECT_EQ(stats.score, 0);
}

TEST_F(HitAnalysis, RanksHitsAndScoresMisses) {
    // Ply 11 (the first player to move): the lower rook takes the
    // undefended upper rook, which the engine ranks first.
    Position before = test::board({{55, kLowerRook}, {51, kUpperRook}, {99, kLowerKing}, {11, kUpperKing}});
    Position after = before;
    applyLowerMove(after, Move{55, 151});  // into the zone a rook is only tried promoted
    record->history[10] = before;
    record->history[11] = after;
    HitStats stats;
    ASSERT_TRUE(AnalysePly(*state, *record, 11, PathTable{}, stats));
    EXPECT_EQ(stats.positions, 1);
    EXPECT_EQ(stats.hits[0], 1);

    // A king move away instead is no first choice; with haba 1 it misses.
    state->profile.haba = 1;
    after = before;
    applyLowerMove(after, Move{99, 98});
    record->history[11] = after;
    ASSERT_TRUE(AnalysePly(*state, *record, 11, PathTable{}, stats));
    EXPECT_EQ(stats.misses, 1);

    // Two equal entries: the game is over.
    record->history[11] = before;
    EXPECT_FALSE(AnalysePly(*state, *record, 11, PathTable{}, stats));
    EXPECT_EQ(stats.positions, 2);
}

TEST_F(HitAnalysis, HabaFiveLeavesTheLaterRanksEmptyAndScoresAddUp) {
    state->profile.haba = 5;
    writeCsa(dir / "g.csa", 12);
    writeCsa(dir / "sub" / "h.csa", 12);
    const HitStats stats = run();
    EXPECT_EQ(stats.games, 2);
    EXPECT_EQ(stats.positions, 6);
    int32_t score = 200 * stats.misses;
    for (int32_t k = 0; k < kHitRanks; ++k) {
        if (k >= 5) {
            EXPECT_EQ(stats.hits[k], 0) << k;
        }
        score += k * stats.hits[k];
    }
    EXPECT_EQ(stats.score, score);
}

}  // namespace
}  // namespace nusari
