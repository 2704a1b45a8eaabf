// The game as the remote links see it: what they read of it and the few
// things they do to it. The game controller implements it; the links know
// nothing of the window.
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
    // True while a continuous match runs.
    virtual bool InMatch() const = 0;

    // The remote side's move, decided: made, recorded and drawn; then the
    // computer's whole reply.
    virtual void PlayLowerMove(const Move& m) = 0;
    // An engine's answer for the lower side (a USI engine on the link):
    // its move is played, every other answer judged by the game's referee
    // and told with the engine's `name`.
    virtual void TakeRemoteAnswer(const PlayerAnswer& answer, const std::string& name) = 0;
    // Ends the game with a result from the lower side's view: 1 wins,
    // 2 loses, -1 no winner.
    virtual void EndGame(int32_t result, GameEnding ending) = 0;
    // Stops the game without a result.
    virtual void InterruptGame() = 0;
    // Goes back two plies to the lower side's earlier turn.
    virtual void TakeBack() = 0;
    // Tells the user about a game that has ended: in a box that holds
    // nothing up, or in the thinking panel during a match.
    virtual void tellAfterGame(const std::string& text, bool inMatch) = 0;
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
