// Takeback, interruption with continuation, replay by buttons and keys,
// and the record files of the open and save buttons.
#include "king_walk_support.h"
#include "position/position.h"
#include "position/setup.h"
#include "think/clock.h"
#include "ui/ui_texts.h"

namespace nusari {
namespace {

using test::KingWalkTest;

// The history entry as it stands on the board: without its times.
Position withoutTimes(Position p) {
    p[kLowerTimeCell] = 0;
    p[kUpperTimeCell] = 0;
    return p;
}

TEST_F(KingWalkTest, TakeBackGoesTwoPliesBackOnlyWhenThereAreTwo) {
    // The computer moved first and the human has not moved: nothing.
    startGame(kPresetEven, true);
    ASSERT_EQ(gameFields().plyCount, 1);
    const Position afterFirst = board();
    controller->OnMatta();
    EXPECT_EQ(gameFields().plyCount, 1);
    EXPECT_EQ(board(), afterFirst);

    // Ply 5 goes back to ply 3, with the times of that entry cleared.
    humanMove();
    humanMove();
    ASSERT_EQ(gameFields().plyCount, 5);
    record().history[3][kLowerTimeCell] = 7;
    record().history[3][kUpperTimeCell] = 9;
    clickSquare(59);  // a selection is dropped
    ASSERT_EQ(gameFields().pendingFrom, 59);
    ui.events.clear();
    controller->OnMatta();
    EXPECT_EQ(gameFields().plyCount, 3);
    EXPECT_EQ(board(), withoutTimes(record().history[3]));
    EXPECT_EQ(gameFields().lastDestination, 51);  // the frame marks ply 3, the computer's
    EXPECT_EQ(gameFields().pendingFrom, 0);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(ui.events, std::vector<std::string>{"draw"});
    // The game goes on from there, overwriting the later entries.
    humanMove();
    EXPECT_EQ(gameFields().plyCount, 5);
    EXPECT_EQ(withoutTimes(record().history[5]), board());
}

// The human's clock starts again when the takeback shows the position.
TEST_F(KingWalkTest, AfterATakeBackTheMoveIsTimedFromTheTakeBack) {
    startGame(kPresetEven, false);
    humanMove();
    humanMove();
    gameFields().moveStartMs = nowMs() - 10000;  // ten seconds since the reply
    controller->OnMatta();
    humanMove();
    ASSERT_EQ(gameFields().plyCount, 4);
    EXPECT_EQ(record().history[3][kLowerTimeCell] - record().history[2][kLowerTimeCell], 1);
}

TEST_F(KingWalkTest, TakeBackAtPlyTwoReturnsToTheStart) {
    startGame(kPresetEven, false);
    humanMove();
    ASSERT_EQ(gameFields().plyCount, 2);
    controller->OnMatta();
    EXPECT_EQ(gameFields().plyCount, 0);
    EXPECT_EQ(board(), record().history[0]);

    // Not while the computer thinks, and not after the game.
    humanMove();
    controller->gameState = GameState::ComputerThinking;
    controller->OnMatta();
    EXPECT_EQ(gameFields().plyCount, 2);
    controller->gameState = GameState::LowerToMove;
    controller->EndGame(2, GameEnding::Resign);
    controller->OnMatta();
    EXPECT_EQ(gameFields().plyCount, 2);
}

TEST_F(KingWalkTest, AnInterruptedGameContinuesWithTheSideToMoveFirst) {
    startGame(kPresetEven, true);
    for (int i = 0; i < 15; ++i) humanMove();
    ASSERT_EQ(gameFields().plyCount, 31);

    ui.answers = {false};
    controller->OnTyuudan();
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);

    ui.events.clear();
    ui.answers = {true};
    controller->OnTyuudan();
    EXPECT_EQ(ui.questions.back(), "中断しますか？");
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().length, 31);
    EXPECT_EQ(controller->page.presetRow, kPresetContinue);
    EXPECT_TRUE(logText().empty());
    EXPECT_TRUE(std::find(ui.events.begin(), ui.events.end(), "controls:2") != ui.events.end());
    const Position shown = board();

    // The human, to move at ply 31, moves first; the board keeps its real
    // orientation, so the human stays 後手 of the diagram.
    controller->page.computerFirst = false;
    controller->StartGame();
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(gameFields().plyCount, 0);
    EXPECT_EQ(record().humanIsSecond, 0);
    EXPECT_EQ(record().boardTurned, 1);
    EXPECT_EQ(nameOf(record().secondName), "YOU");
    EXPECT_EQ(record().history[0], withoutTimes(shown));
}

// Whatever the list showed before (an opened record, a finished or an
// interrupted game), a new game's list holds its start position only.
class NewGameListTest : public KingWalkTest {
  protected:
    void expectANewGameStartsAfresh() {
        ASSERT_EQ(controller->gameState, GameState::NoGame);
        ASSERT_GT(controller->ShownMoveList().lines.size(), 2u);
        controller->page.presetRow = kPresetEven;
        controller->page.computerFirst = false;
        controller->StartGame();
        EXPECT_EQ(controller->ShownMoveList().lines, std::vector<std::string>{"開始局面"});
        EXPECT_EQ(controller->ShownMoveList().currentRow, 0);
        humanMove();
        EXPECT_EQ(controller->ShownMoveList().lines.size(), 3u);
    }
};

TEST_F(NewGameListTest, AfterAnOpenedRecord) {
    ASSERT_EQ(controller->StartUp(), 1);
    const std::filesystem::path file = folder.path() / "kyou.kif";
    std::ofstream(file, std::ios::binary)
        << "手合割：香落ち\n手数----指手---------消費時間--\n1 ３四歩(33)\n2 ７六歩(77)\n3 投了\n";
    controller->OpenRecordFile(file.string());
    ASSERT_EQ(record().length, 2);
    expectANewGameStartsAfresh();
}

TEST_F(NewGameListTest, AfterAFinishedGame) {
    resignAtPly = 5;
    startGame(kPresetEven, false);
    playUntilTheGameEnds();
    expectANewGameStartsAfresh();
}

TEST_F(NewGameListTest, AfterAnInterruptedGame) {
    startGame(kPresetEven, true);
    humanMove();
    ui.answers = {true};
    controller->OnTyuudan();
    expectANewGameStartsAfresh();
}

class ReplayTest : public KingWalkTest {
  protected:
    // A finished game of 7 plies.
    void SetUp() override {
        KingWalkTest::SetUp();
        resignAtPly = 7;
        startGame(kPresetEven, false);
        playUntilTheGameEnds();
        ASSERT_EQ(record().length, 7);
    }
    void expectShown(int32_t ply) {
        EXPECT_EQ(gameFields().plyCount, ply);
        EXPECT_EQ(board(), withoutTimes(record().history[static_cast<std::size_t>(ply)]));
        EXPECT_EQ(ui.panelText(), kReplayText);
    }
};

TEST_F(ReplayTest, TheButtonsStepAndStopAtBothEnds) {
    controller->OnReplayButton(ReplayStep::ToStart);
    expectShown(0);
    controller->OnReplayButton(ReplayStep::Back);
    expectShown(0);
    controller->OnReplayButton(ReplayStep::Forward);
    expectShown(1);
    controller->OnReplayButton(ReplayStep::ToEnd);
    expectShown(7);
    controller->OnReplayButton(ReplayStep::Forward);
    expectShown(7);
    controller->OnReplayButton(ReplayStep::Back);
    expectShown(6);
    EXPECT_EQ(gameFields().lastDestination, 52);  // the frame marks ply 6
}

TEST_F(ReplayTest, TheKeysActOnlyWithoutAGameAndWithARecord) {
    controller->OnReplayKey(ReplayStep::ToStart);
    expectShown(0);
    controller->OnReplayKey(ReplayStep::ToEnd);
    expectShown(7);

    // During a game the keys do nothing.
    controller->StartGame();
    humanMove();
    const Position during = board();
    ui.setPanelText("thinking");
    for (ReplayStep step : {ReplayStep::ToStart, ReplayStep::Back, ReplayStep::ToEnd})
        controller->OnReplayKey(step);
    EXPECT_EQ(gameFields().plyCount, 2);
    EXPECT_EQ(board(), during);
    EXPECT_EQ(ui.panelText(), "thinking");
}

TEST_F(KingWalkTest, TheKeysDoNothingBeforeAnyRecordExists) {
    ASSERT_EQ(controller->StartUp(), 1);
    const Position start = board();
    ui.setPanelText("info");
    controller->OnReplayKey(ReplayStep::Forward);
    controller->OnReplayKey(ReplayStep::ToEnd);
    EXPECT_EQ(board(), start);
    EXPECT_EQ(ui.panelText(), "info");
}

TEST_F(ReplayTest, ASavedGameOpensAgainForReplay) {
    const std::string path = (folder.path() / "game.csa").string();
    const Position last = board();
    ui.files = {path};
    controller->OnSaveRecord();
    EXPECT_EQ(ui.proposedNames.back(), "新規棋譜.csa");
    EXPECT_EQ(ui.events.back(), "file:1");
    ASSERT_TRUE(std::filesystem::exists(path));

    ui.files = {path};
    controller->OnOpenRecord();
    EXPECT_EQ(ui.proposedNames.back(), "");
    EXPECT_EQ(record().length, 7);
    EXPECT_EQ(gameFields().plyCount, 0);
    EXPECT_EQ(controller->page.presetRow, kPresetContinue);
    controller->OnReplayButton(ReplayStep::ToEnd);
    EXPECT_EQ(board(), withoutTimes(last));

    // A cancelled dialog changes nothing.
    controller->OnOpenRecord();
    controller->OnSaveRecord();
    EXPECT_EQ(gameFields().plyCount, 7);
}

TEST_F(ReplayTest, AFileThatDoesNotReadLeavesAnEvenGameAndNoRecord) {
    const std::filesystem::path path = folder.path() / "bad.csa";
    std::ofstream(path) << "\x81\xff garbage\r\nP1 nonsense\r\n";
    ui.files = {path.string()};
    controller->OnOpenRecord();
    EXPECT_EQ(record().length, 0);
    EXPECT_EQ(controller->page.presetRow, kPresetEven);
    EXPECT_TRUE(std::find(ui.events.begin(), ui.events.end(), "controls:3") != ui.events.end());
    EXPECT_FALSE(ui.messages.empty());
    EXPECT_EQ(board(), test::presetPosition(kPresetEven));
    controller->OnReplayKey(ReplayStep::ToEnd);
    EXPECT_EQ(gameFields().plyCount, 0);
}

// What the window shows after an opened record, read or not: no game, its
// controls, ply 0 of the record or the even game, drawn once.
TEST_F(ReplayTest, AnOpenedRecordShowsPlyZeroOrTheEvenGame) {
    const std::filesystem::path good = folder.path() / "game.csa";
    ui.files = {good.string()};
    controller->OnSaveRecord();
    const std::filesystem::path bad = folder.path() / "bad.csa";
    std::ofstream(bad) << "P1 nonsense\r\n";
    const struct {
        std::filesystem::path file;
        int32_t preset;
        const char* controls;
        bool read;
    } cases[] = {{good, kPresetContinue, "controls:2", true},
                 {bad, kPresetEven, "controls:3", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        controller->OnReplayButton(ReplayStep::ToEnd);
        gameFields().lastDestination = 52;
        ui.events.clear();
        controller->OpenRecordFile(c.file.string());
        std::vector<std::string> window(ui.events.end() - 4, ui.events.end());
        EXPECT_EQ(window, (std::vector<std::string>{"preset:" + std::to_string(c.preset),
                                                    "state:100", c.controls, "draw"}));
        EXPECT_EQ(ui.events.size(), c.read ? 4u : 6u);  // a failure's sound and message first
        EXPECT_EQ(controller->page.presetRow, c.preset);
        EXPECT_EQ(gameFields().plyCount, 0);
        EXPECT_EQ(gameFields().lastDestination, 0);
        EXPECT_EQ(board(), c.read ? withoutTimes(record().history[0])
                                  : test::presetPosition(kPresetEven));
    }
}

TEST_F(ReplayTest, AnOpenedRecordLeavesNoStaleTextInThePanel) {
    const std::filesystem::path good = folder.path() / "game.csa";
    ui.files = {good.string()};
    controller->OnSaveRecord();
    const std::filesystem::path bad = folder.path() / "bad.csa";
    std::ofstream(bad) << "P1 nonsense\r\n";
    const struct {
        std::filesystem::path file;
        const char* before;
        const char* after;
    } cases[] = {{bad, kReplayText, ""}, {good, "思考結果", kReplayText}};
    for (const auto& c : cases) {
        ui.setPanelText(c.before);
        ui.files = {c.file.string()};
        controller->OnOpenRecord();
        EXPECT_EQ(ui.panelText(), c.after) << c.file;
    }
}

TEST_F(ReplayTest, NoRecordFileIsOpenedOrSavedDuringAGame) {
    controller->StartGame();
    ui.files = {"x.csa", "y.csa"};
    controller->OnOpenRecord();
    controller->OnSaveRecord();
    EXPECT_EQ(ui.files.size(), 2u);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
}

}  // namespace
}  // namespace nusari
