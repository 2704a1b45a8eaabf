#include "game/play_game.h"

#include <algorithm>

#include "think/clock.h"

namespace nusari {

namespace {

// How long one poll may wait before the deadline is looked at again.
constexpr int64_t kPollSliceMs = 50;

PlayerAnswer awaitAnswer(Game& game, Player& player, const std::function<int64_t()>& now) {
    const int64_t start = now();
    const int64_t deadline = game.deadlineMs();
    player.yourTurn(game);
    while (true) {
        const int64_t waited = now() - start;
        if (deadline >= 0 && waited > deadline) {
            player.timedOut();
            return PlayerAnswer::with(PlayerAnswer::Kind::NoAnswer);
        }
        const int64_t slice = deadline < 0 ? kPollSliceMs : std::clamp<int64_t>(deadline - waited + 1, 0, kPollSliceMs);
        if (std::optional<PlayerAnswer> a = player.poll(slice)) {
            // A game run here has no one to grant a takeback: the player's
            // time runs on until it answers otherwise.
            if (a->kind == PlayerAnswer::Kind::Takeback) continue;
            if (a->ms < 0) a->ms = now() - start;
            return *a;
        }
    }
}

}  // namespace

const Outcome& playGame(Game& game, Player* players[2], const std::function<int64_t()>& now) {
    const Side sides[2] = {Side::Lower, Side::Upper};
    for (int s = 0; s < 2 && !game.over(); ++s) {
        std::string error;
        if (!players[s]->startGame(game, sides[s], error)) game.forfeit(sides[s], GameEnding::PlayerGone, error);
    }
    while (!game.over()) {
        const Side side = game.toMove();
        const int mover = side == Side::Lower ? 0 : 1;
        const PlayerAnswer a = awaitAnswer(game, *players[mover], now);
        const int32_t before = game.plies();
        game.answer(a);
        if (game.plies() > before) {
            for (Player* p : {players[0], players[1]}) p->moveMade(game, game.moves().back(), side);
        }
    }
    for (int s = 0; s < 2; ++s) players[s]->gameOver(game.outcome(), sides[s]);
    return game.outcome();
}

const Outcome& playGame(Game& game, Player* players[2]) { return playGame(game, players, nowMs); }

}  // namespace nusari
