// Starting games: name-box commands, engine choice, presets, sides, the
// link, continuing from the position on the board.
#include <algorithm>
#include <deque>

#include "aik/aik_loader.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/text_encoding.h"
#include "ui/ui_texts.h"
#include "ui_test_support.h"

namespace nusari {
namespace {

using test::ControllerTest;

bool hasEvent(const test::FakeUi& ui, const std::string& event) {
    return std::find(ui.events.begin(), ui.events.end(), event) != ui.events.end();
}

Position preset(int32_t index) {
    Position p;
    setupPosition(p, index);
    return p;
}

std::string name(const NameField& field) {
    return std::string(nameOf(field));
}

// A link that records what it is asked to do.
class FakeLink : public RemoteLink {
  public:
    int32_t openResult = 1;
    std::vector<std::string> calls;
    int32_t OpenLink(const std::string& port) override {
        calls.push_back("open:" + port);
        return openResult;
    }
    void CloseLink() override { calls.push_back("close"); }
    void SendMove(const Move& m) override {
        calls.push_back("send:" + std::to_string(m.from) + "," + std::to_string(m.to));
    }
    void SendInterruption() override { calls.push_back("interrupt"); }
    // Each poll gives the next answer of the script, if any.
    std::deque<PlayerAnswer> script;
    void PollLink() override {
        calls.push_back("poll");
        if (script.empty()) return;
        queueAnswer(script.front());
        script.pop_front();
    }
};

TEST_F(ControllerTest, NameBoxCommandsSetUpMatchesWithoutStartingAGame) {
    ASSERT_EQ(controller->StartUp(), 1);
    struct Case {
        const char* text;
        int32_t renzoku;
        int32_t irekawari;
    };
    // irekawari stays once set; renzoku follows the latest command.
    const Case cases[] = {
        {"renzoku=10", 10, 0}, {"renzoku=100", 100, 0}, {"irekawari", 1, 1}, {"renzoku=30", 30, 1}};
    for (const Case& c : cases) {
        ui.messages.clear();
        controller->page.playerName = c.text;
        controller->StartGame();
        EXPECT_EQ(controller->renzoku, c.renzoku) << c.text;
        EXPECT_EQ(controller->irekawari, c.irekawari) << c.text;
        EXPECT_EQ(ui.messages, std::vector<std::string>{"Ok"});
        EXPECT_EQ(controller->gameState, GameState::NoGame);
        EXPECT_EQ(controller->page.playerName, c.text);
    }
    EXPECT_EQ(thinks, 0);
}

TEST_F(ControllerTest, ANameCloseToACommandIsAPlayerName) {
    for (const char* text : {"renzoku=10 ", "Irekawari", "renzoku=20"}) {
        SCOPED_TRACE(text);
        makeController();
        startGame(kPresetEven, false, text);
        EXPECT_EQ(controller->gameState, GameState::LowerToMove);
        EXPECT_EQ(name(record().firstName), text);
        EXPECT_EQ(controller->renzoku, 0);
    }
}

TEST_F(ControllerTest, HumanFirstEvenGame) {
    startGame(kPresetEven, false);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(ui.panelText(), kGameStartText);
    EXPECT_EQ(ui.events.back(), "draw");
    EXPECT_TRUE(hasEvent(ui, "controls:1"));
    EXPECT_FALSE(controller->pagesVisible);
    EXPECT_EQ(record().humanIsSecond, 0);
    EXPECT_EQ(name(record().firstName), "YOU");
    EXPECT_EQ(name(record().secondName), toCp932("標準"));
    EXPECT_EQ(record().history[0], preset(kPresetEven));
    EXPECT_EQ(board(), preset(kPresetEven));
    EXPECT_EQ(gameFields().plyCount, 0);
    EXPECT_EQ(thinks, 0);
    // "yyyy/mm/dd hh:nn:ss"
    ASSERT_EQ(record().startTime.size(), 19u);
    EXPECT_EQ(record().startTime[4], '/');
    EXPECT_EQ(record().startTime[13], ':');
}

TEST_F(ControllerTest, ComputerFirstTurnsTheStartPositionAndPlays) {
    replies = {Move{33, 34}};
    startGame(kPresetEven, true, "花子");
    EXPECT_EQ(thinks, 1);
    EXPECT_EQ(record().humanIsSecond, 1);
    EXPECT_EQ(name(record().firstName), toCp932("標準"));
    EXPECT_EQ(name(record().secondName), toCp932("花子"));
    // The even start looks the same from both sides.
    EXPECT_EQ(record().history[0], flipPosition(preset(kPresetEven)));
    EXPECT_EQ(gameFields().plyCount, 1);
    EXPECT_EQ(board()[34], kUpperPawn);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
}

TEST_F(ControllerTest, AHandicapGoesToTheSideThatMovesFirst) {
    // With the human first he plays without his rook.
    startGame(kPresetNoRook, false);
    EXPECT_EQ(board(), preset(kPresetNoRook));
    EXPECT_EQ(board()[28], kEmpty);
    EXPECT_EQ(board()[82], kUpperRook);

    // With the computer first the computer plays without its rook.
    makeController();
    replies = {Move{77, 76}};
    startGame(kPresetNoRook, true);
    EXPECT_EQ(record().history[0], flipPosition(preset(kPresetNoRook)));
    EXPECT_EQ(record().history[0][82], kEmpty);
    EXPECT_EQ(record().history[0][28], kLowerRook);
}

TEST_F(ControllerTest, EveryPresetStartsAGameFromItsPosition) {
    ASSERT_EQ(controller->StartUp(), 1);
    for (int32_t row = kPresetEven; row < kPresetCount; ++row) {
        controller->gameState = GameState::NoGame;
        controller->SelectPreset(row);
        controller->StartGame();
        EXPECT_EQ(record().history[0], preset(row)) << row;
        EXPECT_EQ(controller->page.presetText, kPresetNames[row]);
    }
}

TEST_F(ControllerTest, ATypedPresetTextStartsAnEvenGame) {
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.presetRow = -1;
    controller->page.presetText = "好きな手合い";
    controller->StartGame();
    EXPECT_EQ(controller->page.presetRow, kPresetEven);
    EXPECT_TRUE(hasEvent(ui, "preset:1"));
    EXPECT_EQ(record().history[0], preset(kPresetEven));
}

TEST_F(ControllerTest, NoEngineSelectedRefusesTheStart) {
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.engineRow = -1;
    ui.events.clear();
    controller->StartGame();
    EXPECT_EQ(ui.events,
              (std::vector<std::string>{"sound:2", "message:error\n  aik file is not opened."}));
    EXPECT_EQ(controller->gameState, GameState::NoGame);
}

TEST_F(ControllerTest, AnEmptyAikFolderGivesNoEngines) {
    std::filesystem::remove(folder.path() / "aik" / "標準.aik");
    ASSERT_EQ(controller->StartUp(), 1);
    EXPECT_TRUE(controller->page.engineNames.empty());
    EXPECT_EQ(controller->page.engineRow, -1);
    controller->StartGame();
    EXPECT_EQ(ui.messages.back(), "error\n  aik file is not opened.");
}

TEST_F(ControllerTest, AnEngineThatDoesNotLoadLeavesEverythingAsItWas) {
    ASSERT_EQ(controller->StartUp(), 1);
    std::filesystem::remove(folder.path() / "aik" / "標準.aik");
    const Position before = board();
    ui.events.clear();
    controller->StartGame();
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(board(), before);
    EXPECT_FALSE(hasEvent(ui, "controls:1"));
    // The box says which file is missing.
    EXPECT_TRUE(ui.messages.back().starts_with(std::string(kAikLoadError) + kAikFileMissing));
    EXPECT_TRUE(ui.messages.back().ends_with("標準.aik"));
}

TEST_F(ControllerTest, PendingSettingsAreAppliedFirst) {
    ASSERT_EQ(controller->StartUp(), 1);
    controller->ShowPages();
    controller->SettingsEdited(SettingsEdit::TimeLimit, "2500");
    controller->StartGame();
    EXPECT_EQ(engine().timeLimitMs, 2500);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
}

TEST_F(ControllerTest, ContinuingFlipsTheBoardWhenTheOldComputerIsToMove) {
    // Human first, seven plies, then the computer resigns with ply 8 to play.
    replies = {Move{33, 34}, Move{43, 44}, Move{53, 54}, Move::resign()};
    startGame(kPresetEven, false);
    move(77, 76);
    move(27, 26);
    move(57, 56);
    move(67, 66);
    ASSERT_EQ(controller->gameState, GameState::NoGame);
    ASSERT_EQ(gameFields().plyCount, 7);
    const Position finished = board();

    controller->SelectPreset(kPresetContinue);
    controller->StartGame();
    Position expected = flipPosition(finished);
    expected[kLowerTimeCell] = 0;
    expected[kUpperTimeCell] = 0;
    EXPECT_EQ(record().history[0], expected);
    EXPECT_EQ(board(), expected);
    EXPECT_EQ(gameFields().plyCount, 0);
}

TEST_F(ControllerTest, ContinuingFromAHistoryEntryClearsTheTimeCells) {
    startGame(kPresetEven, false);
    controller->EndGame(2, GameEnding::Resign);
    // As a replay leaves it: a history entry with times.
    board()[kLowerTimeCell] = 41;
    board()[kUpperTimeCell] = 57;
    controller->SelectPreset(kPresetContinue);
    controller->StartGame();
    EXPECT_EQ(board()[kLowerTimeCell], 0);
    EXPECT_EQ(board()[kUpperTimeCell], 0);
}

// A game against the remote on the fake link; the computer's first reply is 33-34.
class LinkGameTest : public ControllerTest {
  protected:
    void startLinkGame() {
        controller->link = &link;
        replies = {Move{33, 34}};
        ASSERT_EQ(controller->StartUp(), 1);
        controller->page.linkChecked = true;
        controller->StartGame();
    }
    FakeLink link;
};

TEST_F(LinkGameTest, TheLinkIsOpenedAndPolledWhileTheRemoteIsToMove) {
    startLinkGame();
    EXPECT_EQ(link.calls, std::vector<std::string>{"open:COM1"});
    EXPECT_EQ(ui.events.back(), "poll:20");
    controller->OnPollTimer();
    EXPECT_EQ(link.calls.back(), "poll");

    // A mouse move stands for the remote's move: polling stops, the reply
    // is sent, polling starts again.
    ui.events.clear();
    move(77, 76);
    EXPECT_EQ(link.calls.back(), "send:33,34");
    EXPECT_TRUE(hasEvent(ui, "poll:0"));
    EXPECT_EQ(ui.events.back(), "sound:1");
    EXPECT_TRUE(hasEvent(ui, "poll:20"));

    // The computer resigns: the resignation is sent, the link closed.
    move(27, 26);
    EXPECT_EQ(link.calls[link.calls.size() - 2], "send:0,0");
    EXPECT_EQ(link.calls.back(), "close");
}

TEST_F(LinkGameTest, TheLinksAnswersAreActedOnAndToldAfterwards) {
    using Kind = PlayerAnswer::Kind;
    struct Case {
        const char* what;
        PlayerAnswer answer;
        GameState state;     // after the answer
        GameEnding ending;   // the record's
        const char* told;    // the last message, or null: none
    };
    const Case cases[] = {
        {"a move, and the computer's reply", PlayerAnswer::of(Move{77, 76}), GameState::LowerToMove,
         GameEnding::None, nullptr},
        {"the remote's verdict", PlayerAnswer::verdict(1, GameEnding::TimeUp, "#TIME_UP"), GameState::NoGame,
         GameEnding::TimeUp, "#TIME_UP"},
        {"the remote's interruption", PlayerAnswer::with(Kind::Interrupt, "#CHUDAN"), GameState::NoGame,
         GameEnding::Interrupt, "#CHUDAN"},
        {"the remote gone, told nothing", PlayerAnswer::with(Kind::Interrupt), GameState::NoGame,
         GameEnding::Interrupt, nullptr},
        {"the remote's takeback", PlayerAnswer::with(Kind::Takeback, "待った"), GameState::LowerToMove,
         GameEnding::None, "待った"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startLinkGame();
        ui.messages.clear();
        link.script = {c.answer};
        controller->OnPollTimer();
        EXPECT_EQ(controller->gameState, c.state);
        if (c.state == GameState::NoGame) {
            EXPECT_EQ(controller->record->ending, c.ending);
        }
        if (c.told == nullptr) {
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ASSERT_FALSE(ui.messages.empty());
            EXPECT_EQ(ui.messages.back(), c.told);
        }
        if (controller->gameState != GameState::NoGame) controller->InterruptGame();
    }
}

TEST_F(ControllerTest, ALinkThatDoesNotOpenIsUncheckedAndNoGameStarts) {
    FakeLink link;
    link.openResult = -1;
    controller->link = &link;
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.linkChecked = true;
    controller->StartGame();
    EXPECT_FALSE(controller->page.linkChecked);
    EXPECT_EQ(controller->gameState, GameState::NoGame);

    // Without any link the box cannot stay checked either.
    controller->link = nullptr;
    controller->page.linkChecked = true;
    controller->StartGame();
    EXPECT_FALSE(controller->page.linkChecked);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
}

TEST_F(ControllerTest, AFailedStartClosesTheLinkItOpened) {
    FakeLink link;
    controller->link = &link;
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.linkChecked = true;
    controller->page.engineRow = -1;
    controller->StartGame();
    EXPECT_EQ(link.calls, (std::vector<std::string>{"open:COM1", "close"}));
    EXPECT_EQ(controller->gameState, GameState::NoGame);
}

TEST_F(ControllerTest, TheHumanLeavingHisKingInCheckSendsTheInterruption) {
    FakeLink link;
    controller->link = &link;
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.linkChecked = true;
    controller->StartGame();
    // The gold shields the king from the rook; it steps aside.
    setupPosition(board(), 0);
    board()[59] = kLowerKing;
    board()[58] = kLowerGold;
    board()[55] = kUpperRook;
    board()[51] = kUpperKing;
    move(58, 68);
    EXPECT_EQ(link.calls[link.calls.size() - 2], "interrupt");
    EXPECT_EQ(ui.messages.back(), "あなたの負け：王手放置");
}

}  // namespace
}  // namespace nusari
