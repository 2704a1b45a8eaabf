// The game as the remote links see it: what they read of it, the reporter
// they tell through, and the few settings they need. The game controller
// implements it; the links know nothing of the window and change nothing in
// the game: what the remote says comes back to the controller as answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aik/engine_state.h"
#include "aik/ui.h"
#include "game/game_state.h"
#include "game/player.h"
#include "position/game_fields.h"
#include "position/types.h"
#include "records/game_ending.h"
#include "records/game_record.h"
#include "settings/settings.h"
#include "settings/usi_engines.h"

namespace nusari {

class GameHost {
  public:
    virtual ~GameHost() = default;

    // Messages, notices, the thinking panel, the message pump and sounds.
    virtual Ui& Reporter() = 0;
    // The game's state: who is to move, or no game.
    virtual GameState CurrentState() const = 0;
    // The game's position and ply count.
    virtual GameFields& Fields() = 0;
    // The computer's settings: its time setting and CSA time mode.
    virtual EngineState& Engine() = 0;
    // The game's record: its history, who moves first, the board's turn.
    virtual GameRecord& Record() = 0;
    // True while a continuous match runs (the remote's end words are then
    // told in the thinking panel only, or not at all).
    virtual bool InMatch() const = 0;

    // Plays the piece or the message sound.
    virtual void PlaySound(Sound kind) = 0;
    // The server chose the sides: the new-game page shows whether the
    // computer moves first.
    virtual void ShowComputerFirst(bool computerFirst) = 0;
    // Stops the poll timer: the link reads no more.
    virtual void StopPolling() = 0;

    // The settings file, for the server's login settings.
    virtual SettingsStore& SettingsFile() = 0;
    // The registered USI engines and how long one may take to start.
    virtual const std::vector<UsiEngineEntry>& RegisteredUsiEngines() const = 0;
    virtual int64_t UsiHandshakeMs() const = 0;
};

}  // namespace nusari
