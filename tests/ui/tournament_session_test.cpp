// 連続対局 of engines from the window: registered USI engines and an .aik
// engine (through nusari-usi) play a round robin on the tournament's
// thread; the board shows the game in progress, stopping and starting
// again goes on from the results file.
#include <algorithm>
#include <thread>

#include "settings/usi_engines.h"
#include "ui/ui_texts.h"
#include "ui_test_support.h"

namespace nusari::test {
namespace {

class TournamentSessionTest : public ControllerTest {
  protected:
    void SetUp() override {
        ControllerTest::SetUp();
        std::string fake = "bash \"";
        fake += NUSARI_FAKE_ENGINE;
        WriteUsiEngines(store, {UsiEngineEntry{"Mover", fake + "\" 7g7f", {}},
                                UsiEngineEntry{"Resigner", fake + "\" resign", {}},
                                UsiEngineEntry{"Silent", fake + "\" silent", {}}});
        ASSERT_EQ(controller->StartUp(), 1);
        controller->usiAdapter = NUSARI_USI_PROGRAM;
        request.time.byoyomiMs = 300;
        request.gamesPerPairing = 2;
        request.folder = folder.path() / "tournament";
    }
    void TearDown() override { controller->StopTournament(); }

    // Ticks as the window's timer does until `done` holds; false after 60 s.
    template <typename Done>
    bool tickUntil(Done done) {
        const int64_t deadline = nowMs() + 60000;
        while (nowMs() < deadline) {
            controller->OnTournamentTick();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    bool runToEnd() {
        return controller->StartTournament(request) && tickUntil([&] { return !controller->TournamentRunning(); });
    }

    GameController::TournamentRequest request;
};

TEST_F(TournamentSessionTest, EnginesOfBothKindsPlayTheRoundRobin) {
    request.enginePaths = {"USI:Mover", "USI:Resigner", controller->page.enginePaths.at(0)};
    ASSERT_TRUE(runToEnd());
    const GameController::TournamentView v = controller->ShownTournament();
    ASSERT_EQ(v.log.size(), 6U);
    EXPECT_EQ(v.played, 6);
    ASSERT_EQ(v.rows.size(), 3U);
    // The .aik engine wins all four: the mover's second move (and its
    // first as 後手) is illegal, the resigner resigns.
    EXPECT_EQ(v.rows[0].name, controller->page.engineNames.at(0));
    EXPECT_EQ(v.rows[0].wins, 4);
    EXPECT_EQ(v.rows[1].name, "Mover");
    EXPECT_EQ(v.rows[1].wins, 2);
    EXPECT_EQ(v.rows[2].losses, 4);
    EXPECT_TRUE(std::filesystem::exists(request.folder / "game-006.csa"));
    // The same tournament again has nothing left to play; another one in
    // its folder is refused.
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(controller->ShownTournament().played, 6);
    EXPECT_TRUE(controller->ShownTournament().log.empty());
    request.gamesPerPairing = 4;
    EXPECT_FALSE(controller->StartTournament(request));
    EXPECT_EQ(ui.messages.back().rfind(kTournamentOtherResults, 0), 0U) << ui.messages.back();
}

TEST_F(TournamentSessionTest, TheBoardShowsTheGameUntilTheTournamentStops) {
    request.enginePaths = {"USI:Silent", "USI:Resigner"};
    request.time.byoyomiMs = 60000;
    ASSERT_TRUE(controller->StartTournament(request));
    ASSERT_TRUE(tickUntil([&] { return !controller->ShownTournament().game.empty(); }));
    EXPECT_EQ(controller->ShownTournament().game, "第1局 ▲Silent △Resigner 0手");
    BoardScene scene = controller->ComposeScene();
    EXPECT_EQ(scene.texts[0].text, "Silent");
    EXPECT_EQ(scene.texts[1].text, "秒読み 60");
    // The clock of the side to move runs down between its moves.
    controller->now = [] { return nowMs() + 5000; };
    controller->OnTournamentTick();
    EXPECT_EQ(controller->ComposeScene().texts[1].text, "秒読み 55");
    EXPECT_EQ(controller->ComposeScene().texts[3].text, "秒読み 60");
    controller->StartGame();
    EXPECT_EQ(ui.messages.back(), kTournamentRunning);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    controller->StopTournament();
    ASSERT_TRUE(tickUntil([&] { return !controller->TournamentRunning(); }));
    EXPECT_EQ(controller->ShownTournament().played, 0);
    scene = controller->ComposeScene();
    EXPECT_NE(scene.texts[0].text, "Silent");
}

TEST_F(TournamentSessionTest, TwoComputersFromTheNewGamePagePlayAndBecomeTheRecord) {
    const auto row = [&](const std::string& path) {
        const auto& paths = controller->page.enginePaths;
        return static_cast<int32_t>(std::find(paths.begin(), paths.end(), path) - paths.begin());
    };
    NewGamePage& page = controller->page;
    page.computersOnly = true;
    page.engineRow = row("USI:Mover");
    page.secondEngineRow = row("USI:Resigner");
    page.computerFirst = true;  // 対戦COM is 先手
    page.presetRow = kPresetEven;
    for (int round = 0; round < 2; ++round) {
        controller->StartGame();
        ASSERT_TRUE(controller->TournamentRunning()) << (ui.messages.empty() ? "" : ui.messages.back());
        ASSERT_TRUE(tickUntil([&] { return !controller->TournamentRunning(); }));
        EXPECT_EQ(controller->ShownDetails().firstName, "Mover");
        EXPECT_EQ(controller->ShownDetails().secondName, "Resigner");
        EXPECT_EQ(controller->ListedPlies(), 1);  // ▲７六歩, then 投了
    }
    page.clockRow = kClockCustom;
    page.clocks[1].byoyomiMs += 1000;
    controller->StartGame();
    EXPECT_EQ(ui.messages.back(), kComputersSameClock);
    page.presetRow = -1;
    page.presetText = "typed";
    controller->StartGame();
    EXPECT_EQ(ui.messages.back(), std::string(kComputersNoStart) + "typed");
    EXPECT_FALSE(controller->TournamentRunning());
}

TEST_F(TournamentSessionTest, NothingStartsWithoutTwoEnginesTimeAndGoodOpenings) {
    struct Case {
        std::vector<std::string> engines;
        int64_t byoyomiMs;
        std::string openings;
        const char* message;
    };
    const std::string bad = folder.writeBytes("bad.txt", "startpos moves 7g7f 7g7f\n");
    const Case cases[] = {
        {{"USI:Mover"}, 300, "", kTournamentTooFew},
        {{"USI:Mover", "USI:Nobody"}, 300, "", kTournamentEngineMissing},
        {{"USI:Mover", "USI:Resigner"}, 0, "", kTournamentNoTime},
        {{"USI:Mover", "USI:Resigner"}, 300, bad, kTournamentBadOpenings},
        // A file stands where the folder would be.
        {{"USI:Mover", "USI:Resigner"}, 300, "", kTournamentNoFolder},
    };
    for (const Case& c : cases) {
        request.enginePaths = c.engines;
        request.time.byoyomiMs = c.byoyomiMs;
        request.openingsPath = c.openings;
        request.folder = c.message == kTournamentNoFolder ? std::filesystem::path(bad) : folder.path() / "tournament";
        EXPECT_FALSE(controller->StartTournament(request)) << c.message;
        EXPECT_EQ(ui.messages.back().rfind(c.message, 0), 0U) << ui.messages.back();
        EXPECT_FALSE(controller->TournamentRunning());
    }
}

}  // namespace
}  // namespace nusari::test
