// A registered USI engine as the remote player: it plays the lower side
// through the same link as the serial line and the game server (port name
// "USI:<name>"), while the .aik engine plays the upper side. The engine is
// read without blocking on every tick of the poll timer; only its start
// waits, with the window's events served.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/remote_link.h"
#include "usi/usi_engine.h"

namespace nusari {

class GameHost;

class UsiLink : public RemoteLink {
  public:
    explicit UsiLink(GameHost& game);
    ~UsiLink() override;
    UsiLink(const UsiLink&) = delete;
    UsiLink& operator=(const UsiLink&) = delete;

    int32_t OpenLink(const std::string& portName) override;
    void CloseLink() override;
    void SendMove(const Move& /*m*/) override {}
    void SendInterruption() override {}
    void PollLink() override;
    void NamePlayers(GameRecord& record) override;
    void GameEnded(int32_t result) override;
    bool isOpen() const { return engine_ != nullptr; }
    // The engine's registered name, told with its faults.
    std::string name() const override { return name_; }

  private:
    // True once the engine is ready for the game; starts or follows its
    // ready check, without waiting.
    bool readyForGame();
    // Asks the engine for the lower side's move in the game's position.
    void beginThink();
    // The engine's answer: its move, resignation or declaration, or a fault.
    void judgeAnswer(const UsiEngine::Answer& answer);
    // "stop" to a think in progress; its answer, when it comes, is dropped.
    void stopThinking();
    // The engine cannot go on: the controller stops the game without a result.
    void engineGone();

    GameHost& game_;
    std::unique_ptr<UsiEngine> engine_;
    std::string name_;
    bool newGamePending_ = true;
    // "isready" of a new game was sent; its "readyok" is awaited until then.
    bool readying_ = false;
    int64_t readyDeadlineMs_ = 0;
    // Counts the closings: a start that a closing overtook is dropped.
    uint32_t closings_ = 0;
    bool thinking_ = false;
    int32_t thinkPly_ = 0;
    int64_t deadlineMs_ = 0;
    std::string goCommand_;
    // Thinks stopped whose "bestmove" has not been read yet.
    int32_t staleAnswers_ = 0;
    bool polling_ = false;
};

}  // namespace nusari
