// A USI engine that writes info lines as fast as they are read: the panel
// gets a few texts, the latest line last, and the move is played and timed
// when its answer came.
#include <gtest/gtest.h>

#include <string>

#include "support/fake_ui.h"
#include "ui/ui_test_support.h"
#include "ui/usi_info_panel.h"
#include "usi/engine_line.h"

namespace nusari {
namespace {

EngineLine infoAtDepth(int depth) {
    return parseEngineLine("info depth " + std::to_string(depth) + " score cp 5 pv 7g7f 3c3d");
}

struct PanelCase {
    const char* name;
    int lines;
    int64_t msPerLine;  // the clock's step between two lines
    int texts;          // after the last line's finish
};

class UsiInfoPanelTest : public ::testing::TestWithParam<PanelCase> {};

// The first line shows at once, then one text per interval, then the last.
TEST_P(UsiInfoPanelTest, ShowsTheLatestLineAtMostOncePerInterval) {
    const PanelCase& c = GetParam();
    GameRecord record;
    test::FakeUi ui;
    int64_t now = 1000;
    UsiInfoPanel panel("E", record, 0, ui, [&now] { return now; });
    for (int depth = 1; depth <= c.lines; ++depth) {
        panel.take(infoAtDepth(depth));
        panel.take(parseEngineLine("info nodes 5 nps 9"));  // nothing to show: ignored
        now += c.msPerLine;
    }
    panel.finish();
    panel.finish();
    ASSERT_EQ(static_cast<int>(ui.panelHistory.size()), c.texts);
    EXPECT_EQ(ui.panelText(), UsiInfoText("E", infoAtDepth(c.lines), record, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Floods, UsiInfoPanelTest,
    ::testing::Values(PanelCase{"AllAtOnce", 100000, 0, 2}, PanelCase{"OnePerMs", 1000, 1, 21},
                      PanelCase{"SlowerThanTheInterval", 5, kUsiPanelIntervalMs, 5}),
    [](const ::testing::TestParamInfo<PanelCase>& info) { return std::string(info.param.name); });

constexpr int kFloodLines = 50000;

class UsiFloodTest : public test::ControllerTest {
  protected:
    // The fake engine floods, then answers ３四歩 to the human's ７六歩.
    void playAgainstFlood() {
        std::string command = "bash \"";
        command += NUSARI_FAKE_ENGINE;
        command += "\" flood " + std::to_string(kFloodLines) + " 3c3d";
        WriteUsiEngines(store, {UsiEngineEntry{"Fake", command, {}}});
        ASSERT_EQ(controller->StartUp(), 1);
        engine().timeLimitMs = 60000;
        controller->page.engineRow = static_cast<int32_t>(controller->page.enginePaths.size()) - 1;
        controller->page.presetRow = kPresetEven;
        controller->StartGame();
        ASSERT_EQ(controller->gameState, GameState::LowerToMove);
        textsBefore = ui.panelHistory.size();
        controller->PlayLowerMove(Move{77, 76});
    }
    size_t textsBefore = 0;
};

TEST_F(UsiFloodTest, AFloodOfInfoLinesGivesFewPanelTextsTheLastLineAndTheMove) {
    playAgainstFlood();
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    ASSERT_EQ(gameFields().plyCount, 2);
    EXPECT_EQ(board()[33], kEmpty);  // the upper side's pawn left ３三
    const size_t texts = ui.panelHistory.size() - textsBefore;
    EXPECT_GE(texts, 1u);
    EXPECT_LT(texts, static_cast<size_t>(kFloodLines / 100));
    const std::string last = ui.panelHistory.back();
    EXPECT_NE(last.find("深さ 99\n評価値 77"), std::string::npos) << last;
}

// The window handles the reply long after the answer came: the move's time
// is still the engine's.
TEST_F(UsiFloodTest, TheMovesTimeIsTakenWhenTheAnswerCame) {
    controller->runThink = [this](std::function<void(Ui&)> work, std::function<void()> done) {
        work(ui);
        gameFields().moveStartMs -= 60000;
        done();
    };
    playAgainstFlood();
    ASSERT_EQ(gameFields().plyCount, 2);
    // The flood's own time, however slow the machine: not the minute after.
    EXPECT_LT(record().history[2][kUpperTimeCell], 60);
}

}  // namespace
}  // namespace nusari
