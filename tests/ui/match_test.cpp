// Continuous matches as the window shows them: the match line, 中断 with
// its question, and the user's choices back after the match.
#include "king_walk_support.h"
#include "ui/ui_texts.h"

namespace nusari {
namespace {

using test::KingWalkTest;

std::string matchLine(int32_t game, int32_t total) {
    std::string text = kMatchHeading;
    text += std::to_string(game) + "/" + std::to_string(total);
    return text;
}

TEST_F(KingWalkTest, TheMatchLineCountsTheGamesAndTheSidesComeBackAfterIt) {
    resignAtPly = 1;
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.playerName = "renzoku=10";
    controller->StartGame();
    EXPECT_TRUE(ui.matchChanges.empty());
    controller->page.playerName = "YOU";
    controller->StartGame();
    playUntilTheGameEnds();

    std::vector<std::string> expected;
    for (int32_t game = 1; game <= 10; ++game) expected.push_back(matchLine(game, 10));
    expected.push_back("");
    EXPECT_EQ(ui.matchChanges, expected);
    EXPECT_EQ(controller->MatchText(), "");
    // The last game was the computer's to begin; the user chose to.
    EXPECT_FALSE(controller->page.computerFirst);
}

// A ten-game match whose second game, the computer's, is interrupted
// during its pause; the answer to the match question is `endMatch`.
class InterruptedMatchTest : public KingWalkTest {
  protected:
    void interruptSecondGame(bool endMatch) {
        holdPauses = true;
        resignAtPly = 1;
        ASSERT_EQ(controller->StartUp(), 1);
        controller->renzoku = 10;
        controller->StartGame();
        humanMove();
        ASSERT_TRUE(controller->MatchPaused());
        ASSERT_EQ(ui.match, matchLine(2, 10));
        ui.answers = {true, endMatch};
        controller->OnTyuudan();
        ASSERT_EQ(ui.questions, (std::vector<std::string>{kInterruptQuestion, kEndMatchQuestion}));
        ASSERT_EQ(controller->gameState, GameState::NoGame);
    }
    // The next start, played until the computer resigns.
    void startAgain() {
        controller->StartGame();
        humanMove();
    }
};

TEST_F(InterruptedMatchTest, AKeptMatchResumesItsCountAtTheNextStart) {
    interruptSecondGame(false);
    EXPECT_EQ(controller->renzoku, 9);
    EXPECT_EQ(ui.match, matchLine(2, 10) + kMatchKeptNote);
    EXPECT_TRUE(controller->page.computerFirst);

    startAgain();
    EXPECT_EQ(savedGames().size(), 2u);
    EXPECT_EQ(controller->renzoku, 8);
    EXPECT_EQ(ui.match, matchLine(3, 10));
}

TEST_F(InterruptedMatchTest, AnEndedMatchLeavesAnOrdinaryGameWithTheUsersSides) {
    interruptSecondGame(true);
    EXPECT_EQ(controller->renzoku, 0);
    EXPECT_EQ(ui.match, "");
    EXPECT_FALSE(controller->page.computerFirst);

    startAgain();
    EXPECT_EQ(savedGames().size(), 1u);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(ui.match, "");
}

TEST_F(InterruptedMatchTest, InterruptingThePauseTakesItsNoteAway) {
    interruptSecondGame(false);
    EXPECT_EQ(ui.panelText().find(kMatchPauseText), std::string::npos) << ui.panelText();
}

TEST_F(KingWalkTest, AGameOutsideAMatchAsksNothingOfAMatch) {
    startGame(kPresetEven, false);
    ui.answers = {true};
    controller->OnTyuudan();
    EXPECT_EQ(ui.questions, std::vector<std::string>{kInterruptQuestion});
    EXPECT_EQ(ui.match, "");
}

}  // namespace
}  // namespace nusari
