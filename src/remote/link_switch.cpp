#include "remote/link_switch.h"

#include "settings/usi_engines.h"

namespace nusari {

int32_t LinkSwitch::OpenLink(const std::string& portName) {
    CloseLink();
    open_ = UsiEngineName(portName) ? &usi_ : &csa_;
    const int32_t result = open_->OpenLink(portName);
    if (result != 1) open_ = nullptr;
    return result;
}

void LinkSwitch::CloseLink() {
    // Closing while a link opens (the window closes) ends its wait.
    csa_.CloseLink();
    usi_.CloseLink();
    open_ = nullptr;
}

void LinkSwitch::SendMove(const Move& m) {
    if (open_ != nullptr) open_->SendMove(m);
}

void LinkSwitch::SendInterruption() {
    if (open_ != nullptr) open_->SendInterruption();
}

void LinkSwitch::PollLink() {
    if (open_ != nullptr) open_->PollLink();
}

std::optional<PlayerAnswer> LinkSwitch::takeAnswer() {
    return open_ != nullptr ? open_->takeAnswer() : std::nullopt;
}

int32_t LinkSwitch::MoveTimeCapMs(int32_t usedSeconds) {
    return open_ != nullptr ? open_->MoveTimeCapMs(usedSeconds) : 0;
}

void LinkSwitch::NamePlayers(GameRecord& record) {
    if (open_ != nullptr) open_->NamePlayers(record);
}

void LinkSwitch::GameEnded(int32_t result) {
    if (open_ != nullptr) open_->GameEnded(result);
}

}  // namespace nusari
