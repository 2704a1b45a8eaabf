// A registered USI engine that plays the computer's side of a game in the
// window. It is started (the window serving its events meanwhile) when the
// game starts; each of its moves is asked for on the worker thread that
// otherwise runs the .aik engine's search, so the window never waits.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "aik/ui.h"
#include "game/player.h"
#include "records/game_record.h"
#include "settings/usi_engines.h"
#include "ui/usi_info_panel.h"
#include "usi/usi_engine.h"
#include "usi/usi_game.h"

namespace nusari {

class UsiOpponent {
  public:
    explicit UsiOpponent(const UsiEngineEntry& entry, int64_t handshakeMs = kUsiHandshakeMs);
    ~UsiOpponent();
    UsiOpponent(const UsiOpponent&) = delete;
    UsiOpponent& operator=(const UsiOpponent&) = delete;

    const std::string& name() const { return name_; }
    // Starts the process, serving the window's events while it waits; false
    // with the reason in `error`.
    bool Start(Ui& ui, std::string& error);
    bool running() const { return !engine_->broken(); }
    // The next think begins a new game ("isready", "usinewgame").
    void NewGame() { newGamePending_ = true; }

    // The engine's answer for the upper side of the board, the position
    // after `plies` plies of the record, asked by `go`: a move is a legal one of the board
    // (else the answer is malformed, its word the detail); ms counts from
    // "go" to the answer as its reader took it, not as the window handled
    // it. Runs on the worker thread: the info lines go to `thinkUi`'s panel,
    // a few texts a second however many lines come; `stop` set ends the
    // think, and then there is no answer.
    std::optional<PlayerAnswer> Think(const GameRecord& record, int32_t plies, const Position& board, const UsiGo& go,
                                      const std::atomic<uint8_t>& stop, Ui& thinkUi);

    // "gameover win", "lose" or "draw" for the engine.
    void GameOver(const char* result);

  private:
    std::string name_;
    std::unique_ptr<UsiEngine> engine_;
    bool newGamePending_ = true;
};

}  // namespace nusari
