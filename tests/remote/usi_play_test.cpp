// Games against a registered USI engine, on the computer's side and as the
// remote player: a fake engine script stands for engines that play, resign,
// crash, send what is no move or never answer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "remote/usi_link.h"
#include "ui/ui_test_support.h"
#include "usi/usi_texts.h"

namespace nusari {
namespace {

struct UsiCase {
    const char* mode;  // the fake engine's answer to every "go"
    GameState state;   // after its first answer
    GameEnding ending;
    const char* told;  // the start of the message, or "" for none
};

class UsiPlayTest : public test::ControllerTest, public ::testing::WithParamInterface<UsiCase> {
  protected:
    // Registers the fake engine as "Fake" and starts up with it listed.
    void startUpWith(const std::string& mode) {
        std::string command = "bash \"";
        command += NUSARI_FAKE_ENGINE;
        command += "\" ";
        command += mode;
        WriteUsiEngines(store, {UsiEngineEntry{"Fake", command, {}}});
        ASSERT_EQ(controller->StartUp(), 1);
        // Not the settings file's 10 s: a silent engine loses in 1.1 s.
        engine().timeLimitMs = 100;
    }
    void expectOutcome(const UsiCase& c) {
        EXPECT_EQ(controller->gameState, c.state);
        EXPECT_EQ(record().ending, c.ending);
        if (std::string(c.told).empty()) {
            EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
        } else {
            ASSERT_FALSE(ui.messages.empty());
            EXPECT_EQ(ui.messages.back().rfind(c.told, 0), 0u) << ui.messages.back();
        }
    }
};

class UsiComputerTest : public UsiPlayTest {};

// The human plays ７六歩; the engine answers as 後手.
TEST_P(UsiComputerTest, TheEnginesAnswerDecidesTheGame) {
    const UsiCase& c = GetParam();
    startUpWith(c.mode);
    controller->page.engineRow = static_cast<int32_t>(controller->page.enginePaths.size()) - 1;
    controller->page.presetRow = kPresetEven;
    controller->StartGame();
    ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(nameOf(record().secondName), "Fake");
    controller->PlayLowerMove(Move{77, 76});
    expectOutcome(c);
    // The human's move stays in the record whatever the engine did.
    EXPECT_GE(gameFields().plyCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UsiComputerTest,
    ::testing::Values(UsiCase{"3c3d", GameState::LowerToMove, GameEnding::None, ""},
                      UsiCase{"resign", GameState::NoGame, GameEnding::Resign, "投了します"},
                      UsiCase{"5e5d", GameState::NoGame, GameEnding::FoulLoss, kUsiIllegalMove},
                      UsiCase{"garbage", GameState::NoGame, GameEnding::FoulLoss, kUsiIllegalMove},
                      // The referee checks a declaration: none holds at the start.
                      UsiCase{"win", GameState::NoGame, GameEnding::FoulLoss, kUsiFalseDeclaration},
                      UsiCase{"crash", GameState::NoGame, GameEnding::Interrupt, kUsiEngineGone},
                      UsiCase{"silent", GameState::NoGame, GameEnding::TimeUp, kUsiTimeUp}));

class UsiRemoteTest : public UsiPlayTest {};

// The engine plays the lower side through the link and moves first; the
// computer's scripted reply is a resignation.
TEST_P(UsiRemoteTest, TheEnginesAnswerDecidesTheGame) {
    const UsiCase& c = GetParam();
    UsiLink link(*controller);
    controller->link = &link;
    startUpWith(c.mode);
    controller->portName = "USI:Fake";
    controller->page.linkChecked = true;
    controller->page.presetRow = kPresetEven;
    controller->StartGame();
    ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(nameOf(record().firstName), "Fake");
    for (int tick = 0; tick < 400 && controller->gameState == GameState::LowerToMove &&
                       gameFields().plyCount == 0;
         ++tick) {
        controller->OnPollTimer();
        usleep(20000);
    }
    expectOutcome(c);
    EXPECT_FALSE(link.isOpen() && controller->gameState == GameState::NoGame);
    controller->link = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UsiRemoteTest,
    ::testing::Values(UsiCase{"7g7f", GameState::NoGame, GameEnding::Resign, "投了します"},
                      // Its many info lines must not hold up its answer.
                      UsiCase{"chatty", GameState::NoGame, GameEnding::Resign, "投了します"},
                      UsiCase{"resign", GameState::NoGame, GameEnding::Resign, ""},
                      UsiCase{"5e5d", GameState::NoGame, GameEnding::FoulLoss, kUsiIllegalMove},
                      UsiCase{"win", GameState::NoGame, GameEnding::FoulLoss, kUsiFalseDeclaration},
                      UsiCase{"crash", GameState::NoGame, GameEnding::Interrupt, kUsiEngineGone},
                      UsiCase{"silent", GameState::NoGame, GameEnding::TimeUp, kUsiTimeUp}));

TEST_F(UsiPlayTest, AnEngineThatCannotStartIsReportedAndNoGameBegins) {
    WriteUsiEngines(store, {UsiEngineEntry{"Gone", "/nonexistent/engine", {}}});
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.engineRow = static_cast<int32_t>(controller->page.enginePaths.size()) - 1;
    controller->StartGame();
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find(kUsiStartFailed), std::string::npos);
}

}  // namespace
}  // namespace nusari
