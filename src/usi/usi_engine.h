// A USI engine process of a match: started with its options, asked for one
// move at a time, and restarted when it breaks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "usi/child_process.h"

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
    bool broken() const { return !process_ || broken_; }
    // The name given on the command line, else the id name, else the program.
    std::string name() const;

    // "isready" until "readyok", then "usinewgame".
    bool newGame(std::string& error);

    struct Answer {
        enum class Kind { Word, NoAnswer, Exited };
        Kind kind = Kind::NoAnswer;
        std::string word;  // after "bestmove": a move, "resign" or "win"
        int64_t ms = 0;    // from sending "go" to the answer
        bool hasScore = false;
        int score = 0;  // the last "info ... score", from the engine's side
    };
    // Sends the position and go commands and waits up to waitMs for
    // "bestmove".
    Answer think(const std::string& position, const std::string& go, int64_t waitMs);

    // After a missing answer: "stop", then up to waitMs for its "bestmove".
    // An engine that stays silent is stopped and marked broken.
    void settle(int64_t waitMs);

    // "gameover win", "lose" or "draw".
    void gameOver(const char* result);
    // "quit", and a kill when it has not exited within two seconds.
    void stop();

private:
    bool waitFor(int kind, int64_t timeoutMs, std::string& error);

    EngineCommand command_;
    int64_t handshakeMs_;
    std::unique_ptr<ChildProcess> process_;
    std::string idName_;
    bool broken_ = false;
};

}  // namespace nusari
