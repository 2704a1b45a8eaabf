#include "game/aik_player.h"

#include "game/game.h"
#include "position/text_encoding.h"
#include "think/clock.h"
#include "think/think_for_side.h"

namespace nusari {

std::string AikPlayer::name() const { return toUtf8(engine_.profile.namae); }

bool AikPlayer::startGame(const Game&, Side, std::string&) {
    answer_.reset();
    return true;
}

void AikPlayer::yourTurn(const Game& game) {
    const int64_t start = nowMs();
    const Move m = ThinkForSide(engine_, observer_, game.position(), game.toMove());
    if (m.isResign()) {
        answer_ = PlayerAnswer::with(PlayerAnswer::Kind::Resign);
    } else if (m.isDeclare()) {
        answer_ = PlayerAnswer::with(PlayerAnswer::Kind::Declare);
    } else {
        answer_ = PlayerAnswer::of(m);
    }
    answer_->ms = nowMs() - start;
}

std::optional<PlayerAnswer> AikPlayer::poll(int64_t) {
    std::optional<PlayerAnswer> a = std::move(answer_);
    answer_.reset();
    return a;
}

}  // namespace nusari
