// A USI engine process as a player: "isready"/"usinewgame" at the start,
// "position … moves …" and "go" with both clocks for each move, the answer
// read without waiting, "gameover" at the end.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "game/player.h"
#include "usi/usi_engine.h"

namespace nusari {

// An engine's answer as a player's, its bestmove word read as a move by
// `readMove` (nothing: no move; the word is then the detail); nothing while
// no answer has come.
std::optional<PlayerAnswer> usiAnswer(const UsiEngine::Answer& answer,
                                      const std::function<std::optional<Move>(const std::string&)>& readMove);

// "go btime … wtime …" with "binc/winc" or "byoyomi" from the game's clocks.
std::string usiGoCommand(const Game& game);
// "position startpos|sfen … [moves …]" for the game so far.
std::string usiPositionCommand(const Game& game, bool evenStart);

class UsiPlayer : public Player {
  public:
    // `label` names the engine in the texts of its faults ("engine 1 (sente, X)").
    UsiPlayer(UsiEngine& engine, std::string label, bool evenStart);

    std::string name() const override { return engine_.name(); }
    bool startGame(const Game& game, Side side, std::string& error) override;
    void yourTurn(const Game& game) override;
    std::optional<PlayerAnswer> poll(int64_t waitMs) override;
    void timedOut() override;
    void gameOver(const Outcome& outcome, Side side) override;

    void setLabel(std::string label) { label_ = std::move(label); }

  private:
    PlayerAnswer gone() const;

    UsiEngine& engine_;
    std::string label_;
    bool evenStart_;
    Side side_ = Side::Lower;
    bool sendFailed_ = false;
    int64_t marginMs_ = 0;
};

}  // namespace nusari
