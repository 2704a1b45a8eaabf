// The link through which a remote program plays the lower side. The game
// controller opens it at a game start, sends the computer's moves over it
// and lets it read on every tick of the poll timer.
#pragma once

#include <cstdint>
#include <string>

#include "position/types.h"
#include "records/game_record.h"

namespace nusari {

class RemoteLink {
  public:
    virtual ~RemoteLink() = default;
    // Opens the port named in the settings; 1 on success, -1 after the link
    // has shown its message.
    virtual int32_t OpenLink(const std::string& portName) = 0;
    virtual void CloseLink() = 0;
    // Sends a move of the upper side in the controller's frame, or
    // Move::resign(), the computer's resignation.
    virtual void SendMove(const Move& m) = 0;
    // Tells the remote that the game stops here (the human's foul).
    virtual void SendInterruption() = 0;
    // Reads what the remote sent; called every 20 ms while the remote is to move.
    virtual void PollLink() = 0;
    // The most the computer's next move may take by the remote's clock, with
    // `usedSeconds` of its own time gone; 0 when the remote sets none.
    virtual int32_t MoveTimeCapMs(int32_t /*usedSeconds*/) { return 0; }
    // Names the players of `record` as the remote did; leaves them when it
    // named none.
    virtual void NamePlayers(GameRecord& /*record*/) {}
    // True when the remote side decides fourfold repetition and perpetual
    // check itself (a game server): the window's referee then leaves them to it.
    virtual bool JudgesRepetition() const { return false; }
    // The game has ended (the link may stay open for the next game of a
    // match); `result` from the lower side's view: 1 wins, 2 loses, else
    // no winner.
    virtual void GameEnded(int32_t /*result*/) {}
};

}  // namespace nusari
