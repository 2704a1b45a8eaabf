#include "game/match_game.h"

#include "game/match_text.h"
#include "game/play_game.h"
#include "game/usi_player.h"
#include "usi/joined_text.h"

namespace nusari {

GameOutcome matchOutcome(const Game& game, int blackEngine) {
    GameOutcome out;
    const Outcome& o = game.outcome();
    out.blackEngine = blackEngine;
    out.end = o.ending;
    out.detail = o.detail;
    out.moves = game.played();
    out.plies = game.plies();
    auto engineOf = [blackEngine](Side side) { return side == Side::Lower ? blackEngine : 1 - blackEngine; };
    if (!o.winner) {
        out.endSide = game.toMove();
    } else if (o.ending == GameEnding::EnteringKingWin) {
        out.endSide = *o.winner;
    } else {
        out.endSide = opponentOf(*o.winner);
    }
    out.winner = o.winner ? engineOf(*o.winner) : -1;
    return out;
}

GameOutcome playMatchGame(UsiEngine* engines[2], int blackEngine, const Opening& opening,
                          const TimeControl& time) {
    GameSetup setup;
    setup.start = opening.start;
    setup.toMove = opening.toMove;
    setup.opening = opening.moves;
    setup.timeForBoth(time);
    Game game(setup);
    // "engine 2 (gote, NAME)": the number tells two engines of one name apart.
    auto label = [&](int engine) {
        const bool sente = engine == blackEngine;
        return joined({"engine ", std::to_string(engine + 1), " (", sente ? "sente" : "gote", ", ",
                       engineText(engines[engine]->name()), ")"});
    };
    UsiPlayer black(*engines[blackEngine], label(blackEngine), opening.evenStart);
    UsiPlayer white(*engines[1 - blackEngine], label(1 - blackEngine), opening.evenStart);
    Player* players[2] = {&black, &white};
    playGame(game, players);
    return matchOutcome(game, blackEngine);
}

}  // namespace nusari
