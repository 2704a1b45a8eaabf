// A tournament of engines: who plays whom, with which colours and from which
// opening, the standings as games end, and the results file that lets a
// stopped tournament go on where it stopped. No processes here: the games
// are played by tournament_run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nusari {

enum class TournamentKind : int32_t {
    RoundRobin,  // every engine against every other
    Gauntlet,    // the first engine against each of the others
};

struct TournamentPlan {
    std::vector<std::string> names;  // the engines, two or more, UTF-8
    TournamentKind kind = TournamentKind::RoundRobin;
    int32_t gamesPerPairing = 2;
    int32_t openingCount = 1;  // the openings played in turn
    // Each pairing plays an opening twice, with the colours swapped; else
    // the first engine of a pairing is always 先手.
    bool swapColours = true;
    bool operator==(const TournamentPlan&) const = default;
};

struct ScheduledGame {
    int32_t number = 0;  // from 1
    int32_t sente = 0;   // engine indices
    int32_t gote = 1;
    int32_t opening = 0;  // index into the openings
};

// Every game, round by round so that the table fills in evenly: round r
// plays game r of every pairing. Empty when the plan has fewer than two
// engines, no games or no openings.
std::vector<ScheduledGame> tournamentSchedule(const TournamentPlan& plan);

// A finished game's result: the winner's engine index, or -1 for a draw.
struct TournamentResult {
    int32_t game = 0;
    int32_t winner = -1;
    std::string ending;  // the referee's ending name ("resignation")
};

struct StandingRow {
    int32_t engine = 0;
    std::string name;
    int32_t games = 0;
    int32_t wins = 0;
    int32_t losses = 0;
    int32_t draws = 0;
    double points = 0;  // a draw half a point
    std::string percent;  // "62.5%", "-" without games
    std::string elo;      // against the field: "+35 +/- 120"
};

// The rows by points, the higher first (ties in the engines' order).
std::vector<StandingRow> tournamentStandings(const TournamentPlan& plan, const std::vector<ScheduledGame>& schedule,
                                             const std::vector<TournamentResult>& results);

// The results file: the plan, then one line per finished game.
std::string tournamentFileText(const TournamentPlan& plan, const std::vector<TournamentResult>& results);
// One result line, to be appended as a game ends.
std::string tournamentResultLine(const TournamentResult& result);

// Reads a results file; nothing, with the reason in `error`, when it is not
// one, its plan is not `plan`, or a line names a game the plan does not
// have. A result given twice keeps the later.
std::optional<std::vector<TournamentResult>> readTournamentFile(std::string_view text, const TournamentPlan& plan,
                                                                std::string& error);

}  // namespace nusari
