// The tournament's schedule, standings and results file, and tournaments
// played against the fake engine script on the tournament's own thread.
#include "game/tournament.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "game/tournament_run.h"
#include "support/temp_folder.h"

namespace nusari {
namespace {

TournamentPlan planOf(std::vector<std::string> names, TournamentKind kind, int32_t games, int32_t openings = 1) {
    TournamentPlan p;
    p.names = std::move(names);
    p.kind = kind;
    p.gamesPerPairing = games;
    p.openingCount = openings;
    return p;
}

TEST(TournamentTest, ScheduleGivesEveryPairingItsGamesWithBothColours) {
    struct Case {
        TournamentKind kind;
        int32_t engines;
        int32_t games;
        int32_t pairings;
    };
    for (const Case c : {Case{TournamentKind::RoundRobin, 3, 4, 3}, Case{TournamentKind::RoundRobin, 4, 2, 6},
                         Case{TournamentKind::Gauntlet, 4, 2, 3}, Case{TournamentKind::RoundRobin, 2, 1, 1}}) {
        std::vector<std::string> names;
        for (int32_t i = 0; i < c.engines; ++i) names.push_back(std::string(1, static_cast<char>('A' + i)));
        const std::vector<ScheduledGame> s = tournamentSchedule(planOf(names, c.kind, c.games, 2));
        ASSERT_EQ(static_cast<int32_t>(s.size()), c.pairings * c.games);
        // Per pairing (lower engine first): its games, and those the lower engine had 先手.
        std::map<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>> pairing;
        for (size_t i = 0; i < s.size(); ++i) {
            EXPECT_EQ(s[i].number, static_cast<int32_t>(i) + 1);
            EXPECT_NE(s[i].sente, s[i].gote);
            EXPECT_TRUE(c.kind != TournamentKind::Gauntlet || s[i].sente == 0 || s[i].gote == 0);
            auto& [games, lowerSente] = pairing[{std::min(s[i].sente, s[i].gote), std::max(s[i].sente, s[i].gote)}];
            ++games;
            lowerSente += s[i].sente < s[i].gote ? 1 : 0;
            // Round r: an opening is played twice, colours swapped.
            const auto round = static_cast<int32_t>(i) / c.pairings;
            EXPECT_EQ(s[i].opening, (round / 2) % 2);
        }
        EXPECT_EQ(static_cast<int32_t>(pairing.size()), c.pairings);
        for (const auto& [pair, counts] : pairing) {
            EXPECT_EQ(counts.first, c.games);
            EXPECT_EQ(counts.second, (c.games + 1) / 2);
        }
    }
    EXPECT_TRUE(tournamentSchedule(planOf({"A"}, TournamentKind::RoundRobin, 4)).empty());
    EXPECT_TRUE(tournamentSchedule(planOf({"A", "B"}, TournamentKind::RoundRobin, 0)).empty());
    TournamentPlan fixed = planOf({"A", "B"}, TournamentKind::RoundRobin, 3, 2);
    fixed.swapColours = false;
    for (const ScheduledGame& g : tournamentSchedule(fixed)) EXPECT_EQ(g.sente, 0);
}

TEST(TournamentTest, StandingsCountPointsAndSortByThem) {
    const TournamentPlan plan = planOf({"A", "B", "C"}, TournamentKind::RoundRobin, 2);
    const std::vector<ScheduledGame> s = tournamentSchedule(plan);  // AB AC BC, then BA CA CB
    const std::vector<TournamentResult> results = {{1, 0, "resignation"}, {2, -1, "repetition"},
                                                   {3, 2, "mate"},        {4, 0, "resignation"},
                                                   {99, 1, "beyond the schedule"}};
    const std::vector<StandingRow> rows = tournamentStandings(plan, s, results);
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].name, "A");
    EXPECT_EQ(rows[0].games, 3);
    EXPECT_EQ(rows[0].wins, 2);
    EXPECT_EQ(rows[0].draws, 1);
    EXPECT_DOUBLE_EQ(rows[0].points, 2.5);
    EXPECT_EQ(rows[0].percent, "83.3%");
    EXPECT_EQ(rows[1].name, "C");
    EXPECT_EQ(rows[1].losses, 0);
    EXPECT_EQ(rows[2].name, "B");
    EXPECT_EQ(rows[2].losses, 3);
    EXPECT_EQ(rows[2].elo.substr(0, 1), "<");
    const std::vector<StandingRow> empty = tournamentStandings(plan, s, {});
    EXPECT_EQ(empty[0].name, "A");
    EXPECT_EQ(empty[0].percent, "-");
}

TEST(TournamentTest, ResultsFileReadsBackAndRefusesOtherFiles) {
    const TournamentPlan plan = planOf({"攻め", "標\t準"}, TournamentKind::RoundRobin, 4, 2);
    const std::vector<TournamentResult> results = {{1, 0, "resignation"}, {3, -1, "repetition"}};
    std::string error;
    const std::string text = tournamentFileText(plan, results) + tournamentResultLine({1, 1, "mate"});
    const auto read = readTournamentFile(text, plan, error);
    ASSERT_TRUE(read) << error;
    ASSERT_EQ(read->size(), 2U);
    EXPECT_EQ((*read)[0].winner, 1);  // given again: the later holds
    EXPECT_EQ((*read)[0].ending, "mate");
    EXPECT_EQ((*read)[1].winner, -1);

    TournamentPlan other = plan;
    other.gamesPerPairing = 6;
    const std::string good = tournamentFileText(plan, {});
    const std::pair<std::string, const TournamentPlan*> bad[] = {
        {"", &plan},
        {"kind\troundrobin\n", &plan},
        {good + "result\t9\t0\tmate\n", &plan},    // no game 9
        {good + "result\t2\t5\tmate\n", &plan},    // no engine 5
        {good + "result\t2\t0\n", &plan},          // a field missing
        {good + "result\tx\t0\tmate\n", &plan},
        {good + "weather\tfine\n", &plan},
        {good, &other},
    };
    for (const auto& [file, p] : bad) {
        error.clear();
        EXPECT_FALSE(readTournamentFile(file, *p, error)) << file;
        EXPECT_FALSE(error.empty());
    }
}

EngineCommand fake(const std::string& word) { return EngineCommand{{"bash", NUSARI_FAKE_ENGINE, word}, {}, ""}; }

TournamentSetup setupOf(const std::vector<std::string>& words, int32_t games, const std::filesystem::path& folder) {
    TournamentSetup s;
    s.plan = planOf(words, TournamentKind::RoundRobin, games);
    for (const std::string& w : words) s.commands.push_back(fake(w));
    s.time.byoyomiMs = 60000;
    s.time.marginMs = 200;
    s.openings = {evenOpening()};
    s.folder = folder;
    return s;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(TournamentRunTest, PlaysTheRoundRobinAndSavesEveryGame) {
    test::TempFolder folder;
    // 7g7f wins against the resigner, plays one good move against 3c3d and
    // loses on the next; 3c3d as 先手 moves 後手's pawn and loses.
    const TournamentSetup setup = setupOf({"7g7f", "resign", "3c3d"}, 2, folder.path());
    TournamentRun run(setup, {});
    ASSERT_TRUE(run.waitEnded(60000));
    const TournamentSnapshot s = run.snapshot();
    ASSERT_EQ(s.total, 6);
    ASSERT_EQ(s.results.size(), 6U) << (s.log.empty() ? "" : s.log.back());
    const std::vector<StandingRow> rows = tournamentStandings(setup.plan, tournamentSchedule(setup.plan), s.results);
    EXPECT_EQ(rows[0].name, "7g7f");
    EXPECT_EQ(rows[0].wins, 3);
    EXPECT_EQ(rows[1].name, "3c3d");
    EXPECT_EQ(rows[1].wins, 2);
    EXPECT_EQ(rows[2].wins, 1);
    EXPECT_EQ(s.log.size(), 6U);
    EXPECT_NE(s.log[0].find("第1局 ▲7g7f △resign 先手勝ち 1手 (投了)"), std::string::npos) << s.log[0];
    for (int32_t n = 1; n <= 6; ++n) {
        const std::string csa = fileText(tournamentGamePath(folder.path(), n, 6));
        EXPECT_NE(csa.find("N+"), std::string::npos) << n;
    }
    std::string error;
    const auto kept = readTournamentFile(fileText(folder.path() / kTournamentResultsFile), setup.plan, error);
    ASSERT_TRUE(kept) << error;
    EXPECT_EQ(kept->size(), 6U);
}

TEST(TournamentRunTest, StopBreaksTheGameOffAndResumePlaysOnlyWhatIsLeft) {
    test::TempFolder folder;
    // The silent engine thinks until the tournament stops.
    TournamentSetup setup = setupOf({"silent", "resign"}, 2, folder.path());
    {
        TournamentRun run(setup, {});
        for (int i = 0; i < 500 && run.snapshot().game != 1; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(run.snapshot().game, 1);
        EXPECT_EQ(run.snapshot().sides[0].name, "silent");
        run.stop();
        ASSERT_TRUE(run.waitEnded(10000));
        EXPECT_TRUE(run.snapshot().results.empty());
        EXPECT_EQ(run.snapshot().log, std::vector<std::string>{"第1局を中断しました (続きはこの局から)"});
    }
    EXPECT_FALSE(std::filesystem::exists(tournamentGamePath(folder.path(), 1, 2)));
    // Game 1 is given as done; game 2 (the resigner 先手) is played.
    TournamentRun resumed(setup, {{1, 1, "resignation"}});
    ASSERT_TRUE(resumed.waitEnded(20000));
    const TournamentSnapshot s = resumed.snapshot();
    ASSERT_EQ(s.results.size(), 2U);
    EXPECT_EQ(s.results[1].game, 2);
    EXPECT_EQ(s.results[1].winner, 0);
    EXPECT_FALSE(std::filesystem::exists(tournamentGamePath(folder.path(), 1, 2)));
    EXPECT_TRUE(std::filesystem::exists(tournamentGamePath(folder.path(), 2, 2)));
}

TEST(TournamentRunTest, AnEngineThatCannotStartLosesItsGames) {
    test::TempFolder folder;
    TournamentSetup setup = setupOf({"7g7f", "resign"}, 2, folder.path());
    setup.commands[1] = EngineCommand{{(folder.path() / "no-such-engine").string()}, {}, ""};
    setup.handshakeMs = 2000;
    TournamentRun run(setup, {});
    ASSERT_TRUE(run.waitEnded(30000));
    const TournamentSnapshot s = run.snapshot();
    ASSERT_EQ(s.results.size(), 2U);
    for (const TournamentResult& r : s.results) {
        EXPECT_EQ(r.winner, 0);
        EXPECT_EQ(r.ending, "crash");
    }
    EXPECT_NE(s.log[0].find("先手勝ち 0手 (エンジン停止)"), std::string::npos) << s.log[0];
}

}  // namespace
}  // namespace nusari
