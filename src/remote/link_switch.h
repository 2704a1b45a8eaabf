// The window's one link, which passes every call to the transport the port
// name chose when the link was opened: a registered USI engine for
// "USI:<name>", else the serial line or the game server.
#pragma once

#include "game/remote_link.h"

namespace nusari {

class LinkSwitch : public RemoteLink {
  public:
    LinkSwitch(RemoteLink& csa, RemoteLink& usi) : csa_(csa), usi_(usi) {}

    int32_t OpenLink(const std::string& portName) override;
    void CloseLink() override;
    void SendMove(const Move& m) override;
    void SendInterruption() override;
    void PollLink() override;
    std::optional<PlayerAnswer> takeAnswer() override;
    std::string name() const override { return open_ != nullptr ? open_->name() : std::string(); }
    int32_t MoveTimeCapMs(int32_t usedSeconds) override;
    void NamePlayers(GameRecord& record) override;
    void GameEnded(int32_t result) override;
    bool JudgesRepetition() const override { return open_ != nullptr && open_->JudgesRepetition(); }

  private:
    RemoteLink& csa_;
    RemoteLink& usi_;
    RemoteLink* open_ = nullptr;
};

}  // namespace nusari
