// nusari-tool usimatch against the fake engine script, which takes its
// answer from the AikFile option: what each fault is reported as, and an
// engine that has gone started again for the next game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands.h"
#include "support/temp_folder.h"

namespace nusari::tool {
namespace {

struct MatchRun {
    int status;
    std::string out;  // standard output and standard error, in that order
};

MatchRun usimatch(const std::string& a, const std::string& b, int games) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = runUsiMatch({"--usi", NUSARI_FAKE_ENGINE, "--aik", a, "--aik2", b, "--games",
                                    std::to_string(games), "--ms", "150"});
    std::string out = testing::internal::GetCapturedStdout();
    out += testing::internal::GetCapturedStderr();
    return {status, out};
}

TEST(UsiMatch, FaultsAreNamedAndAGoneEngineIsRestartedOrTheMatchStops) {
    const test::TempFolder folder;
    const std::string once = "once:" + (folder.path() / "started").string();
    struct Case {
        const char* what;
        std::string a;
        std::string b;
        int games;
        std::vector<std::string> lines;  // each must be in the output
    };
    const Case cases[] = {
        {"a bestmove that is no move, escaped, at the real move number", "7g7f", "nul", 1,
         {"game 1: sente A, A wins, 1 plies, illegal move (bestmove '7g\\x007f\\x01' is no USI move)",
          "engine B: illegal move (bestmove '7g\\x007f\\x01' is no USI move) at move 2",
          "illegal moves 1, missing answers 0"}},
        {"an engine that exits is restarted", "crash", "resign", 2,
         {"game 1: sente A, B wins, 0 plies, crash (engine A exited (status 3))",
          "usimatch: engine A restarted for game 2", "game 2: sente B, A wins, 0 plies, resignation",
          "illegal moves 0, missing answers 1"}},
        {"one that cannot be restarted stops the match", once, "resign", 3,
         {"game 1: sente A, B wins, 0 plies, crash (engine A exited (status 3))",
          "usimatch: engine A cannot be restarted; match stopped after 1 games",
          "summary: A 0, B 1, draws 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MatchRun run = usimatch(c.a, c.b, c.games);
        EXPECT_EQ(run.status, 1);
        for (const std::string& line : c.lines) {
            EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
        }
        EXPECT_EQ(run.out.find('\0'), std::string::npos);
    }
}

}  // namespace
}  // namespace nusari::tool
