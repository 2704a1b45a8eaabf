#include "game/remote_link.h"

namespace nusari {

std::optional<PlayerAnswer> RemoteLink::takeAnswer() {
    if (answers_.empty()) return std::nullopt;
    PlayerAnswer a = std::move(answers_.front());
    answers_.pop_front();
    return a;
}

std::optional<PlayerAnswer> RemoteLink::poll(int64_t /*waitMs*/) {
    if (std::optional<PlayerAnswer> a = takeAnswer()) return a;
    PollLink();
    return takeAnswer();
}

}  // namespace nusari
