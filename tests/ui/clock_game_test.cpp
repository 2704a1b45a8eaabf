// Games on the new-game page's clocks: the clocks run down and show, the
// computer thinks on its own clock, the countdown, loss on time.
#include "think/move_time.h"
#include "ui/ui_texts.h"
#include "ui_test_support.h"

namespace nusari::test {
namespace {

class ClockGameTest : public ControllerTest {
  protected:
    // A game against the computer on the clocks of `row`, the human first,
    // on a clock the test moves.
    void startOnClocks(int32_t row) {
        controller->now = [this] { return clock; };
        ASSERT_EQ(controller->StartUp(), 1);
        controller->page.presetRow = kPresetEven;
        controller->SelectClockPreset(row);
        controller->StartGame();
        ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    }
    void tickAt(int64_t usedMs) {
        clock = controller->fields.moveStartMs + usedMs;
        controller->OnClockTick();
    }
    // What the board's two time fields show.
    std::vector<std::string> shownTimes() const {
        const BoardScene scene = controller->ComposeScene();
        return {scene.texts[1].text, scene.texts[3].text};
    }

    int64_t clock = 1000000;
};

TEST_F(ClockGameTest, TheHumanLosesOnTimeAfterTheLastSecondCounted) {
    startOnClocks(kClockThirtySeconds);
    EXPECT_EQ(ui.clockTimerMs, 100);
    EXPECT_EQ(shownTimes(), (std::vector<std::string>{"秒読み 30", "秒読み 30"}));
    for (const int64_t used : {19999, 20001, 20500, 21001, 29999, 30000}) tickAt(used);
    EXPECT_EQ(ui.countdowns, (std::vector<int32_t>{10, 9, 1}));
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    tickAt(30001);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().ending, GameEnding::TimeUp);
    EXPECT_EQ(ui.messages.back(), kHumanTimeUp);
    EXPECT_EQ(ui.clockTimerMs, 0);
}

TEST_F(ClockGameTest, ClocksRunDownAndTheComputerThinksOnItsOwn) {
    int32_t limitMs = 0;
    std::vector<std::string> whileThinking;
    controller->think = [&](EngineState&, const ThinkRequest& request, ThinkObserver&) {
        limitMs = request.limits.moveTimeMs;
        whileThinking = shownTimes();
        clock += 2000;
        return Move{33, 34};
    };
    startOnClocks(kClockSuddenDeath10);
    clock += 5000;
    move(77, 76);
    EXPECT_EQ(limitMs, moveTimeFromClock(10 * 60000, 0, 0));
    EXPECT_EQ(whileThinking, (std::vector<std::string>{"9:55", "10:00"}));
    EXPECT_EQ(shownTimes(), (std::vector<std::string>{"9:55", "9:58"}));
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    // 待った takes the time back with the moves.
    controller->OnMatta();
    EXPECT_EQ(shownTimes(), (std::vector<std::string>{"10:00", "10:00"}));
}

TEST_F(ClockGameTest, AComputerMoveAfterItsTimeAndMarginLoses) {
    controller->think = [&](EngineState&, const ThinkRequest&, ThinkObserver&) {
        clock += 30000 + kAnswerMarginMs + 1;
        return Move{33, 34};
    };
    startOnClocks(kClockThirtySeconds);
    move(77, 76);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().ending, GameEnding::TimeUp);
    EXPECT_EQ(record().length, 1);  // the late move is not played
    EXPECT_EQ(ui.messages.back(), kComputerTimeUp);
}

TEST_F(ClockGameTest, ThePerMoveLimitHasNoClocks) {
    int32_t limitMs = 0;
    controller->think = [&](EngineState&, const ThinkRequest& request, ThinkObserver&) {
        limitMs = request.limits.moveTimeMs;
        return Move{33, 34};
    };
    startOnClocks(kClockPerMove);
    EXPECT_FALSE(controller->ClockGame());
    EXPECT_EQ(ui.clockTimerMs, 0);
    EXPECT_EQ(shownTimes(), (std::vector<std::string>{"0 s", "0 s"}));
    move(77, 76);
    EXPECT_EQ(limitMs, engine().timeLimitMs);
}

}  // namespace
}  // namespace nusari::test
