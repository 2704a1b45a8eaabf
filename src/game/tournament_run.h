// A tournament played on a thread of its own: the engines are USI processes
// (an .aik engine through nusari-usi), each game refereed as a match game,
// saved as a CSA record and its result added to the results file as it
// ends. The window's thread reads snapshots and never waits; stopping
// breaks the current game off, and it is played again when the tournament
// goes on.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "game/openings_file.h"
#include "game/time_control.h"
#include "game/tournament.h"
#include "usi/usi_engine.h"

namespace nusari {

struct TournamentSetup {
    TournamentPlan plan;                  // plan.names name the engines
    std::vector<EngineCommand> commands;  // row for row with plan.names
    TimeControl time;
    std::vector<Opening> openings;        // plan.openingCount of them
    // Holds the results file and the games' records.
    std::filesystem::path folder;
    int64_t handshakeMs = 10000;  // for "usi" and "isready"
};

inline constexpr const char* kTournamentResultsFile = "results.txt";

// The record of game `number` in the tournament's folder: "game-007.csa".
std::filesystem::path tournamentGamePath(const std::filesystem::path& folder, int32_t number, int32_t total);

// One engine's side of the game in progress.
struct TournamentSide {
    std::string name;
    int64_t clockMs = 0;  // what is left on its clock
    // Its last report: depth, score from its own side, and line (USI moves
    // from `pvFrom` with `pvToMove` to move, where it was thinking).
    int32_t depth = -1;
    bool hasScore = false;
    int32_t score = 0;
    bool mate = false;
    std::vector<std::string> pv;
    Position pvFrom{};
    Side pvToMove = Side::Lower;
};

// What the window shows, copied from the tournament's thread.
struct TournamentSnapshot {
    std::vector<TournamentResult> results;  // in the order the games ended
    int32_t total = 0;                      // the games of the schedule
    bool running = true;                    // false once the thread has ended
    // The game being played (0: none): its position in the standard frame
    // (先手 lower), the last move and both sides, 先手's first.
    int32_t game = 0;
    Position position{};
    Side toMove = Side::Lower;
    int32_t plies = 0;
    Move lastMove = Move::none();
    // When the side to move began its move (nowMs), for its clock to run.
    int64_t moveStartMs = 0;
    TournamentSide sides[2];
    // One line per finished game ("第3局 ▲攻め △標準 先手勝ち 97手 resignation")
    // and per fault (an engine that would not start, a record not written).
    std::vector<std::string> log;
};

class TournamentRun {
  public:
    // Plays the games of `setup` that `done` does not hold, in schedule order.
    TournamentRun(TournamentSetup setup, std::vector<TournamentResult> done);
    // Stops and waits for the thread (an engine's quit takes up to 2 s).
    ~TournamentRun();
    TournamentRun(const TournamentRun&) = delete;
    TournamentRun& operator=(const TournamentRun&) = delete;

    // Breaks the current game off and ends the thread; returns at once.
    void stop() { stopping_ = true; }
    TournamentSnapshot snapshot() const;
    // Changes with every snapshot published.
    uint64_t serial() const { return serial_.load(); }
    // Waits up to `ms` for the thread to end (tests); true once it has.
    bool waitEnded(int64_t ms) const;

  private:
    class Watch;
    void run(std::vector<TournamentResult> done);
    void playOne(const ScheduledGame& g, std::vector<std::unique_ptr<UsiEngine>>& engines);
    void publish(const std::function<void(TournamentSnapshot&)>& change);

    TournamentSetup setup_;
    std::vector<ScheduledGame> schedule_;
    std::atomic<bool> stopping_{false};
    std::atomic<uint64_t> serial_{0};
    mutable std::mutex lock_;
    TournamentSnapshot shared_;
    std::thread thread_;
};

}  // namespace nusari
