// A USI engine process: started with its options, asked for one move at a
// time, and stopped. The waits read the pipe in short slices; a caller on
// the window's thread serves its events between them (whileWaiting), and a
// caller on a worker thread can end a think early (stopWanted).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "usi/child_process.h"
#include "usi/engine_line.h"
#include "usi/usi_option.h"

namespace nusari {

struct EngineCommand {
    std::vector<std::string> argv;  // the program and its arguments
    std::vector<std::pair<std::string, std::string>> options;  // setoption name, value
    std::string name;  // for the table; empty: the engine's "id name"
};

// Splits a command line at blanks; single or double quotes keep blanks in a
// word. False on an unclosed quote or an empty line.
bool splitCommandLine(const std::string& text, std::vector<std::string>& argv);

// "Name=Value" (the value may be empty); false without a name or '='.
bool parseOptionText(const std::string& text, std::pair<std::string, std::string>& option);

class UsiEngine {
public:
    UsiEngine(EngineCommand command, int64_t handshakeMs);

    // Starts the process (stopping an old one): "usi", the options and
    // "isready". False with a message in `error`.
    bool start(std::string& error);
    // Why the last start failed.
    enum class StartFailure { None, CannotStart, Exited, NoUsiOk, NoReadyOk };
    StartFailure startFailure() const { return startFailure_; }
    bool broken() const { return !process_ || broken_; }
    // The name given on the command line, else the id name, else the program.
    std::string name() const;
    // The id name and the options the engine announced at its start.
    const std::string& idName() const { return idName_; }
    const std::vector<UsiOption>& announcedOptions() const { return announced_; }
    // The engine's process (null before a start), to tell how it ended.
    ChildProcess* process() { return process_.get(); }

    // "isready" until "readyok", then "usinewgame".
    bool newGame(std::string& error);
    // The same without waiting: sendNewGame, then pollNewGame on every
    // tick until it is not Pending ("usinewgame" is sent on Ready).
    enum class NewGameState { Pending, Ready, Exited };
    bool sendNewGame();
    NewGameState pollNewGame();

    struct Answer {
        enum class Kind { Word, NoAnswer, Exited };
        Kind kind = Kind::NoAnswer;
        std::string word;  // after "bestmove": a move, "resign" or "win"
        int64_t ms = 0;    // from sending "go" to the answer
        bool hasScore = false;
        int score = 0;  // the last "info ... score", from the engine's side
    };
    // Sends the position and go commands and waits up to waitMs for
    // "bestmove". Once stopWanted says so, "stop" is sent and the answer
    // waited for up to two seconds more.
    Answer think(const std::string& position, const std::string& go, int64_t waitMs);

    // The same in two steps, for a caller that must not wait: sendThink,
    // then pollThink on every tick until its kind is not NoAnswer.
    bool sendThink(const std::string& position, const std::string& go);
    // Reads what has come within waitMs (0: only what is there).
    Answer pollThink(int64_t waitMs);

    // After a missing answer: "stop", then up to waitMs for its "bestmove".
    // An engine that stays silent is stopped and marked broken.
    void settle(int64_t waitMs);

    // "stop" without waiting for the answer it brings.
    void requestStop();
    // Any other command line; false when the engine has gone.
    bool send(const std::string& line);

    // "gameover win", "lose" or "draw".
    void gameOver(const char* result);
    // "quit", and a kill when it has not exited within two seconds.
    void stop();

    // Called between the slices of every wait, at least once a slice even
    // while lines keep coming: the window's events, or a worker's panel.
    std::function<void()> whileWaiting;
    // Asked between the slices of think(): true ends the think.
    std::function<bool()> stopWanted;
    // Every info line of a think.
    std::function<void(const EngineLine&)> onInfo;

private:
    bool waitFor(EngineLine::Kind kind, int64_t timeoutMs, std::string& error);
    // Sends `command` and waits for `answer` within the handshake time.
    bool handshake(const char* command, EngineLine::Kind answer, std::string& error);
    // The next line before the deadline, in slices that let whileWaiting run.
    bool readBefore(std::string& text, int64_t deadline);
    void take(const EngineLine& line);

    EngineCommand command_;
    int64_t handshakeMs_;
    std::unique_ptr<ChildProcess> process_;
    std::string idName_;
    std::vector<UsiOption> announced_;
    bool broken_ = false;
    StartFailure startFailure_ = StartFailure::None;
    // When whileWaiting last ran within readBefore.
    int64_t lastServedMs_ = 0;
    // The think in progress.
    int64_t thinkStart_ = 0;
    Answer answer_;
};

}  // namespace nusari
