// The end of a game: the human's resignation, the match log, and
// continuous matches with their saved games, rotation and pause.
#include <algorithm>

#include "king_walk_support.h"
#include "aik/aik_loader.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/text_encoding.h"
#include "ui/match_files.h"
#include "ui/ui_texts.h"

namespace nusari {
namespace {

using test::KingWalkTest;
using test::lines;
using test::readText;

// The fields of a log line.
std::vector<std::string> fields(const std::string& line) {
    return test::split(line, "\t");
}

Position evenStart() {
    return test::presetPosition(kPresetEven);
}

TEST_F(KingWalkTest, AResignationAfterFortyPliesIsLoggedAndNotSaved) {
    startGame(kPresetEven, false);
    for (int i = 0; i < 20; ++i) humanMove();
    ASSERT_EQ(gameFields().plyCount, 40);

    ui.events.clear();
    ui.answers = {true};
    controller->OnTouryou();
    EXPECT_EQ(ui.questions.back(), "投了しますか？");
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().length, 40);
    EXPECT_EQ(ui.events.back(), "controls:2");
    EXPECT_EQ(std::count(ui.events.begin(), ui.events.end(), "sound:2"), 1);

    const std::vector<std::string> log = lines(logText());
    ASSERT_EQ(log.size(), 1u);
    const std::vector<std::string> f = fields(log[0]);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0], record().endTime);
    EXPECT_EQ(f[1], toCp932("標準"));
    EXPECT_EQ(f[2], "2");
    EXPECT_EQ(f[3], "40");
    EXPECT_TRUE(savedGames().empty());
    EXPECT_TRUE(pauses.empty());
}

TEST_F(KingWalkTest, ResignationNeedsTheHumansTurnAndAYes) {
    ASSERT_EQ(controller->StartUp(), 1);
    controller->OnTouryou();
    EXPECT_TRUE(ui.questions.empty());

    controller->page.playerName = "YOU";
    controller->StartGame();
    humanMove();
    ui.answers = {false};
    controller->OnTouryou();
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(gameFields().plyCount, 2);
    EXPECT_TRUE(logText().empty());
}

TEST_F(KingWalkTest, EveryResultCodeIsLogged) {
    startGame(kPresetEven, false);
    controller->EndGame(-1, GameEnding::Draw);
    resignAtPly = 0;
    controller->StartGame();
    humanMove();  // the computer resigns: the lower side wins
    EXPECT_EQ(ui.messages.back(), "投了します");
    const std::vector<std::string> log = lines(logText());
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(fields(log[0])[2], "-1");
    EXPECT_EQ(fields(log[0])[3], "0");
    EXPECT_EQ(fields(log[1])[2], "1");
    EXPECT_EQ(fields(log[1])[3], "1");
}

TEST_F(KingWalkTest, TheLogFolderIsCreatedAndAnUnwritableLogIsSilent) {
    std::filesystem::remove_all(folder.path() / "output");
    startGame(kPresetEven, false);
    controller->EndGame(2, GameEnding::Resign);
    EXPECT_EQ(lines(logText()).size(), 1u);

    // The log's folder is a file: the line is lost, nothing is shown.
    std::filesystem::remove_all(folder.path() / "output");
    std::ofstream(folder.path() / "output") << "x";
    ui.messages.clear();
    controller->StartGame();
    controller->EndGame(2, GameEnding::Resign);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(controller->gameState, GameState::NoGame);
}

TEST_F(KingWalkTest, ATenGameMatchLogsAndSavesEveryGameWithAlternatingSides) {
    resignAtPly = 4;
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.playerName = "renzoku=10";
    controller->StartGame();
    controller->page.playerName = "YOU";
    controller->StartGame();
    playUntilTheGameEnds();

    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(controller->renzoku, 0);
    // No message box stops an unattended match.
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Ok"});
    EXPECT_EQ(pauses, std::vector<int32_t>(5, kMatchPauseMs));

    const std::vector<std::string> log = lines(logText());
    ASSERT_EQ(log.size(), 10u);
    for (const std::string& line : log) EXPECT_EQ(fields(line)[2], "1");

    const std::vector<std::string> files = savedGames();
    ASSERT_EQ(files.size(), 10u);
    // Game k is saved as "..._N.csa", N = 10 down to 1, with its first
    // player alternating between the human and the computer.
    for (int32_t game = 0; game < 10; ++game) {
        const std::string suffix = "_" + std::to_string(10 - game) + ".csa";
        const auto file = std::find_if(files.begin(), files.end(), [&](const std::string& f) {
            return f.size() == 14 + suffix.size() && f.ends_with(suffix);
        });
        ASSERT_NE(file, files.end()) << suffix;
        const std::string csa = readText(folder.path() / *file);
        const std::string first = game % 2 == 0 ? "N+YOU" : "N+" + toCp932("標準");
        EXPECT_NE(csa.find(first + "\r\n"), std::string::npos) << *file;
    }
}

TEST_F(KingWalkTest, AContinuedGameStartsFromTheEvenGameWithTheSidesExchanged) {
    holdPauses = true;
    resignAtPly = 1;
    ASSERT_EQ(controller->StartUp(), 1);
    controller->renzoku = 10;
    controller->page.presetRow = kPresetNoRook;
    controller->StartGame();
    humanMove();  // the computer resigns at once, without a message

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(controller->renzoku, 9);
    EXPECT_TRUE(controller->page.computerFirst);
    EXPECT_EQ(controller->page.presetRow, kPresetEven);
    EXPECT_EQ(board(), evenStart());
    EXPECT_EQ(gameFields().plyCount, 0);
    EXPECT_EQ(record().length, 0);

    // The pause: the computer waits, and nothing of the game answers.
    ASSERT_EQ(pauses, std::vector<int32_t>{kMatchPauseMs});
    EXPECT_TRUE(controller->MatchPaused());
    EXPECT_EQ(controller->gameState, GameState::ComputerThinking);
    EXPECT_EQ(ui.panelText(), kMatchPauseText);
    const int thinksBefore = thinks;
    controller->OnMatta();
    controller->OnTouryou();
    clickSquare(59);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(gameFields().pendingFrom, 0);
    EXPECT_EQ(thinks, thinksBefore);

    heldPause();
    EXPECT_FALSE(controller->MatchPaused());
    EXPECT_EQ(record().humanIsSecond, 1);
    EXPECT_EQ(nameOf(record().firstName), toCp932("標準"));
    EXPECT_EQ(record().history[0], flipPosition(evenStart()));
    EXPECT_EQ(gameFields().plyCount, 1);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
}

TEST_F(KingWalkTest, APausedMatchCanBeInterruptedOrClosed) {
    holdPauses = true;
    resignAtPly = 1;
    ASSERT_EQ(controller->StartUp(), 1);
    controller->renzoku = 10;
    controller->StartGame();
    humanMove();
    ASSERT_TRUE(controller->MatchPaused());

    ui.answers = {false};
    EXPECT_FALSE(controller->CloseQuery());
    EXPECT_EQ(ui.questions.back(), "対局中です\n終了しますか？");

    ui.answers = {true};
    controller->OnTyuudan();
    EXPECT_EQ(ui.questions.end()[-2], "中断しますか？");
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_FALSE(controller->MatchPaused());
    // The match resumes its count at the next start.
    EXPECT_EQ(controller->renzoku, 9);
    // The pause ends later and finds nothing to do.
    const int thinksBefore = thinks;
    heldPause();
    EXPECT_EQ(thinks, thinksBefore);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
}

TEST_F(KingWalkTest, AnAutosaveThatFailsIsToldInThePanelAndTheMatchGoesOn) {
    resignAtPly = 1;
    holdPauses = true;
    ASSERT_EQ(controller->StartUp(), 1);
    controller->renzoku = 10;
    controller->StartGame();
    // The program's folder becomes a file: nothing can be saved in it.
    const std::filesystem::path blocked = folder.path() / "blocked";
    std::ofstream(blocked) << "x";
    controller->folders.autosaveFolder = blocked;
    humanMove();

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(controller->renzoku, 9);
    EXPECT_TRUE(controller->MatchPaused());
    EXPECT_EQ(ui.panelText().rfind(kAutosaveFailed, 0), 0u) << ui.panelText();
    EXPECT_NE(ui.panelText().find(kMatchPauseText), std::string::npos);
}

// The autosave folder takes nothing (a regular file stands in its path):
// the game goes to the fallback folder, or, when that fails too, is kept
// and offered in the save dialog. The end of the match tells either.
TEST_F(KingWalkTest, AFailedAutosaveIsSavedElsewhereOrKeptAndToldAtTheEndOfTheMatch) {
    resignAtPly = 1;
    ASSERT_EQ(controller->StartUp(), 1);
    const std::filesystem::path blocked = folder.path() / "blocked";
    std::ofstream(blocked) << "x";
    controller->folders.autosaveFolder = blocked / "games";
    const std::filesystem::path fallback = folder.path() / "output" / "record";
    const std::filesystem::path chosen = folder.path() / "chosen.csa";
    struct Case {
        const char* what;
        bool fallbackBlocked;
    };
    for (const Case c : {Case{"saved elsewhere", false}, Case{"kept", true}}) {
        SCOPED_TRACE(c.what);
        if (c.fallbackBlocked) controller->folders.writeFolder = blocked / "w";
        ui.messages.clear();
        ui.files = {chosen.string()};
        controller->renzoku = 1;
        controller->StartGame();
        humanMove();

        EXPECT_EQ(controller->renzoku, 0);
        ASSERT_EQ(ui.messages.size(), 1u);
        const std::string& told = ui.messages[0];
        EXPECT_EQ(told.rfind(kAutosaveReport, 0), 0u) << told;
        const auto failedPanel = std::find_if(
            ui.panelHistory.rbegin(), ui.panelHistory.rend(),
            [](const std::string& t) { return t.rfind(kAutosaveFailed, 0) == 0; });
        ASSERT_NE(failedPanel, ui.panelHistory.rend());
        if (!c.fallbackBlocked) {
            std::vector<std::filesystem::path> saved;
            for (const auto& entry : std::filesystem::directory_iterator(fallback)) {
                if (entry.path().extension() == ".csa") saved.push_back(entry.path());
            }
            ASSERT_EQ(saved.size(), 1u);
            EXPECT_NE(failedPanel->find(kAutosaveSavedElsewhere + saved[0].string()), std::string::npos);
            EXPECT_NE(told.find(kAutosaveReportElsewhere + saved[0].string()), std::string::npos);
            EXPECT_NE(readText(saved[0]).find("%TORYO"), std::string::npos);
            EXPECT_EQ(ui.files.size(), 1u);  // no dialog
        } else {
            EXPECT_NE(failedPanel->find(kAutosaveKept), std::string::npos);
            EXPECT_NE(told.find(std::string(kAutosaveReportKept) + "1" + kAutosaveReportKeptTail),
                      std::string::npos);
            EXPECT_TRUE(ui.files.empty());  // the dialog took the chosen name
            EXPECT_NE(readText(chosen).find("%TORYO"), std::string::npos);
        }
    }
}

// Closing the window between the games of a match offers the games kept.
TEST_F(KingWalkTest, AGameKeptByAFailedAutosaveIsOfferedWhenTheWindowCloses) {
    resignAtPly = 1;
    ASSERT_EQ(controller->StartUp(), 1);
    const std::filesystem::path blocked = folder.path() / "blocked";
    std::ofstream(blocked) << "x";
    controller->folders.autosaveFolder = blocked / "games";
    controller->folders.writeFolder = blocked / "w";
    const std::filesystem::path chosen = folder.path() / "chosen.csa";
    ui.files = {chosen.string()};
    controller->renzoku = 2;
    controller->StartGame();
    humanMove();
    ASSERT_GT(controller->renzoku, 0);
    controller->ShutDown(0, 0);
    EXPECT_NE(readText(chosen).find("%TORYO"), std::string::npos);
}

// The engines 攻め (row 0) and 標準 (row 1).
class RotationTest : public KingWalkTest {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(folder.path() / "aik");
        std::filesystem::copy_file(test::defaultEngineFile().parent_path() / "攻め.aik",
                                   folder.path() / "aik" / "攻め.aik");
        KingWalkTest::SetUp();
        resignAtPly = 2;
        ASSERT_EQ(controller->StartUp(), 1);
        ASSERT_EQ(controller->page.engineNames.size(), 2u);
        controller->page.playerName = "irekawari";
        controller->StartGame();
        controller->page.playerName = "YOU";
    }

    std::vector<std::string> loggedNames() const {
        std::vector<std::string> names;
        for (const std::string& line : lines(logText())) names.push_back(fields(line)[1]);
        return names;
    }
};

TEST_F(RotationTest, ARotationPlaysEachEngineFromTheSelectedRowOn) {
    controller->page.engineRow = 0;
    controller->StartGame();
    playUntilTheGameEnds();
    EXPECT_EQ(loggedNames(), (std::vector<std::string>{toCp932("攻め"), toCp932("標準")}));
    EXPECT_EQ(controller->renzoku, 0);
    EXPECT_EQ(controller->irekawari, 1);
    // The selected engine and sides are back once the rotation is over.
    EXPECT_EQ(controller->page.engineRow, 0);
    EXPECT_FALSE(controller->page.computerFirst);
    // Both games carry the number 1; ending in the same second, the second
    // is kept beside the first.
    const std::vector<std::string> files = savedGames();
    ASSERT_EQ(files.size(), 2u);
    for (const std::string& f : files) EXPECT_NE(f.find("_1"), std::string::npos) << f;
}

TEST_F(RotationTest, TheNextEngineStartsWithoutTheLastOnesBookMessage) {
    const ThinkFunction walk = controller->think;
    controller->think = [walk, this](EngineState& e, const ThinkRequest& request, ThinkObserver& observer) {
        ui.setPanelText("定跡：" + e.enginePath);
        return walk(e, request, observer);
    };
    controller->page.engineRow = 0;
    controller->page.computerFirst = true;
    controller->StartGame();
    humanMove();  // the computer resigns
    // The second game, the human's to begin, waits for the first move.
    ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    ASSERT_EQ(controller->engine->profile.namae, toCp932("標準"));
    EXPECT_EQ(ui.panelText(), kGameStartText);
    EXPECT_EQ(ui.match, "連続対局 2/2");
}

TEST_F(RotationTest, ARotationFromTheLastRowPlaysOneGame) {
    controller->page.engineRow = 1;
    controller->StartGame();
    playUntilTheGameEnds();
    EXPECT_EQ(loggedNames(), std::vector<std::string>{toCp932("標準")});
    EXPECT_EQ(controller->renzoku, 0);
    EXPECT_EQ(savedGames().size(), 1u);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
}

TEST_F(RotationTest, AnEngineThatDoesNotLoadStopsTheRotation) {
    controller->page.engineRow = 0;
    controller->StartGame();
    std::filesystem::remove(folder.path() / "aik" / "標準.aik");
    playUntilTheGameEnds();
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(ui.events.back(), "controls:2");
    // The box says which file is missing.
    EXPECT_TRUE(ui.messages.back().starts_with(std::string(kAikLoadError) + kAikFileMissing));
    EXPECT_TRUE(ui.messages.back().ends_with("標準.aik"));
    EXPECT_EQ(lines(logText()).size(), 1u);
}

TEST(MatchFiles, TheLogLineHasFourFieldsAndCrLf) {
    EXPECT_EQ(MatchLogLine("2007/05/01 13:52:10", "COM", -1, 0),
              "2007/05/01 13:52:10\tCOM\t-1\t0\r\n");
    // A tab or line end in an engine's name cannot break the line.
    EXPECT_EQ(MatchLogLine("t", std::string("a\tb\r\nc\0", 7), 2, 40), "t\ta b  c \t2\t40\r\n");
}

TEST(MatchFiles, AutosaveNamesAreNumberedAndNeverReplaceAGame) {
    test::TempFolder folder;
    std::tm moment{};
    moment.tm_year = 107;
    moment.tm_mon = 4;
    moment.tm_mday = 1;
    moment.tm_hour = 13;
    moment.tm_min = 52;
    moment.tm_sec = 10;
    moment.tm_isdst = -1;
    const std::time_t t = std::mktime(&moment);
    const std::filesystem::path first = AutosavePath(folder.path(), t, 10);
    EXPECT_EQ(first, folder.path() / "20070501135210_10.csa");
    std::ofstream(first) << "x";
    EXPECT_EQ(AutosavePath(folder.path(), t, 10), folder.path() / "20070501135210_10-2.csa");
    EXPECT_EQ(AutosavePath(folder.path(), t, 9), folder.path() / "20070501135210_9.csa");
}

}  // namespace
}  // namespace nusari
