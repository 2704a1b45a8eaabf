#include "ui/hit_analysis_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "aik/aik_loader.h"
#include "ui_test_support.h"

namespace nusari {
namespace {

namespace fs = std::filesystem;

class HitAnalysisRun : public test::ControllerTest {
protected:
    // A teacher game of twelve plies in the program's kif folder.
    void addTeacherGame() {
        fs::create_directories(folder.path() / "kif");
        std::ofstream out(folder.path() / "kif" / "game.csa", std::ios::binary);
        out << "V2\r\nN+a\r\nN-b\r\n+\r\n+7776FU\r\n-3334FU\r\n+2726FU\r\n-4344FU\r\n+2625FU\r\n"
               "-2233KA\r\n+3948GI\r\n-8242HI\r\n+5968OU\r\n-5162OU\r\n+6878OU\r\n-6272OU\r\n";
    }
};

TEST_F(HitAnalysisRun, OnlyAikFilesAreAnalysed) {
    ASSERT_EQ(controller->StartUp(), 1);
    RunHitAnalysis(*controller, (folder.path() / "aik" / "notes.txt").string());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], kAikLoadError);
    RunHitAnalysis(*controller, (folder.path() / "aik" / "missing.aik").string());
    EXPECT_EQ(ui.messages.back(), kAikLoadError);  // after the loader's own box
    EXPECT_GE(ui.messages.size(), 3u);
}

TEST_F(HitAnalysisRun, WritesAndOpensTheReportThenResetsTheRecord) {
    ASSERT_EQ(controller->StartUp(), 1);
    addTeacherGame();
    record().length = 7;
    gameFields().plyCount = 7;
    controller->pagesVisible = true;
    RunHitAnalysis(*controller, test::defaultEngineFile().string());

    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back(), "分析完了しました。");
    bool sawProgress = false;
    for (const std::string& t : ui.panelHistory)
        sawProgress =
            sawProgress || t == "現在分析中\n 処理棋譜数 = 1\n\n教師棋譜 1 局を分析します";
    EXPECT_TRUE(sawProgress);
    ASSERT_EQ(ui.openedDocuments.size(), 1u);
    const fs::path report = ui.openedDocuments[0];
    EXPECT_EQ(ui.panelText(), "分析完了\nレポート：" + report.string());
    EXPECT_EQ(report.parent_path(), folder.path() / "output" / "analysis");
    EXPECT_TRUE(fs::exists(report));
    EXPECT_EQ(report.filename().string().rfind("hitOrder", 0), 0u);

    EXPECT_FALSE(controller->pagesVisible);
    EXPECT_EQ(record().length, 0);
    EXPECT_EQ(gameFields().plyCount, 0);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(controller->page.presetRow, kPresetEven);
}

TEST_F(HitAnalysisRun, TheNumberOfTeacherGamesIsToldBeforeTheyAreRead) {
    ASSERT_EQ(controller->StartUp(), 1);
    addTeacherGame();
    fs::create_directories(folder.path() / "kif" / "more");
    fs::copy_file(folder.path() / "kif" / "game.csa", folder.path() / "kif" / "more" / "game2.kif");
    std::ofstream(folder.path() / "kif" / "notes.txt") << "x";
    RunHitAnalysis(*controller, test::defaultEngineFile().string());
    const auto start = std::find(ui.panelHistory.begin(), ui.panelHistory.end(),
                                 "現在分析中\n\n教師棋譜 2 局を分析します");
    EXPECT_NE(start, ui.panelHistory.end());
}

TEST_F(HitAnalysisRun, AnEmptyKifFolderIsToldInsteadOfAnEmptyReport) {
    ASSERT_EQ(controller->StartUp(), 1);
    const fs::path kif = folder.path() / "kif";
    // Missing, then there without a record file.
    for (bool create : {false, true}) {
        if (create) {
            fs::create_directories(kif);
            std::ofstream(kif / "notes.txt") << "x";
        }
        ui.messages.clear();
        RunHitAnalysis(*controller, test::defaultEngineFile().string());
        ASSERT_EQ(ui.messages.size(), 1u) << create;
        EXPECT_NE(ui.messages[0].find(kNoTeacherGames + kif.string()), std::string::npos);
        EXPECT_EQ(ui.panelText(), ui.messages[0]);
        EXPECT_TRUE(ui.openedDocuments.empty());
        EXPECT_FALSE(fs::exists(folder.path() / "output" / "analysis"));
    }
}

TEST_F(HitAnalysisRun, AReportThatCannotBeWrittenOrOpenedIsTold) {
    ASSERT_EQ(controller->StartUp(), 1);
    addTeacherGame();
    // The desktop has no program for the report.
    ui.documentsOpen = false;
    RunHitAnalysis(*controller, test::defaultEngineFile().string());
    ASSERT_EQ(ui.openedDocuments.size(), 1u);
    EXPECT_EQ(ui.messages.back(), kReportOpenFailed + ui.openedDocuments[0]);

    // A file where the report's folder belongs.
    fs::remove_all(folder.path() / "output" / "analysis");
    std::ofstream(folder.path() / "output" / "analysis") << "x";
    ui.messages.clear();
    RunHitAnalysis(*controller, test::defaultEngineFile().string());
    EXPECT_EQ(ui.openedDocuments.size(), 1u);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], "分析完了しました。");
    const fs::path place = folder.path() / "output" / "analysis" / "hitOrder";
    EXPECT_EQ(ui.messages[1].rfind(kReportWriteFailed + place.string(), 0), 0u);
    EXPECT_EQ(ui.panelText(), "分析完了");
}

}  // namespace
}  // namespace nusari
