#include "match_game.h"

#include <algorithm>

#include "match_text.h"
#include "position/entering_king.h"
#include "usi/joined_text.h"
#include "position/sfen.h"
#include "referee.h"

namespace nusari::tool {

namespace {

// How long an engine whose output ended may take to exit before it is told
// as one that only closed its output.
constexpr int64_t kExitGraceMs = 500;

int sideIndex(Side side) { return side == Side::Lower ? 0 : 1; }

std::string goCommand(const TimeControl& time, const int64_t clock[2]) {
    std::string go = "go btime ";
    go += std::to_string(clock[0]);
    go += " wtime ";
    go += std::to_string(clock[1]);
    if (time.incMs > 0) {
        go += " binc ";
        go += std::to_string(time.incMs);
        go += " winc ";
        go += std::to_string(time.incMs);
    } else if (time.byoyomiMs > 0) {
        go += " byoyomi ";
        go += std::to_string(time.byoyomiMs);
    }
    return go;
}

std::string positionCommand(const Opening& opening, const Referee& referee) {
    std::string text = "position ";
    if (opening.evenStart) {
        text += "startpos";
    } else {
        text += "sfen ";
        text += toSfen(opening.start, opening.toMove, 1);
    }
    if (!referee.usiMoves().empty()) {
        text += " moves ";
        text += referee.usiMoves();
    }
    return text;
}

class Game {
public:
    Game(UsiEngine* engines[2], int blackEngine, const Opening& opening, const TimeControl& time)
        : engines_{engines[0], engines[1]},
          blackEngine_(blackEngine),
          opening_(opening),
          time_(time),
          referee_(opening.start, opening.toMove) {
        for (const Move& m : opening.moves) referee_.play(m);
        clock_[0] = clock_[1] = time.timeMs;
    }

    GameOutcome play() {
        for (int e = 0; e < 2 && !over_; ++e) {
            std::string error;
            if (!engines_[e]->newGame(error)) {
                lose(GameEnd::Crash, sideOf(e), who(e) + ": " + engineText(error));
            }
        }
        while (!over_) step();
        out_.plies = referee_.plies();
        for (int e = 0; e < 2; ++e) {
            engines_[e]->gameOver(out_.winner < 0 ? "draw" : out_.winner == e ? "win" : "lose");
        }
        return out_;
    }

private:
    int engineOf(Side side) const { return side == Side::Lower ? blackEngine_ : 1 - blackEngine_; }
    Side sideOf(int engine) const { return engine == blackEngine_ ? Side::Lower : Side::Upper; }

    // "engine 2 (gote, NAME)": the number tells two engines of one name apart.
    std::string who(int engine) const {
        return joined({"engine ", std::to_string(engine + 1), " (",
                       sideOf(engine) == Side::Lower ? "sente" : "gote", ", ",
                       engineText(engines_[engine]->name()), ")"});
    }

    // How an engine whose output ended stands: exited, or only closed it.
    std::string endingOf(int engine) const {
        ChildProcess* process = engines_[engine]->process();
        if (process == nullptr) return "exited";
        return ChildProcess::describe(process->ending(kExitGraceMs));
    }

    void lose(GameEnd end, Side side, std::string detail = {}) {
        out_.end = end;
        out_.endSide = side;
        out_.winner = 1 - engineOf(side);
        out_.detail = std::move(detail);
        over_ = true;
    }

    void win(GameEnd end, Side side) {
        lose(end, side);
        out_.winner = engineOf(side);
    }

    void draw(GameEnd end) {
        out_.end = end;
        out_.endSide = referee_.toMove();
        out_.winner = -1;
        over_ = true;
    }

    // One move of the side to move, or the end of the game.
    void step() {
        const Side side = referee_.toMove();
        const int mover = engineOf(side);
        UsiEngine& engine = *engines_[mover];
        // A mate on the last ply of the limit still wins.
        if (referee_.sideToMoveIsMated()) return lose(GameEnd::Mate, side);
        if (!referee_.drawReason().empty()) {
            if (const auto checker = referee_.perpetualChecker()) {
                lose(GameEnd::PerpetualCheck, *checker);
            } else {
                draw(referee_.drawReason() == "repetition" ? GameEnd::Repetition : GameEnd::PlyLimit);
            }
            return;
        }

        int64_t& clock = clock_[sideIndex(side)];
        const int64_t limit = clock + time_.byoyomiMs;
        const UsiEngine::Answer answer =
            engine.think(positionCommand(opening_, referee_), goCommand(time_, clock_), limit + time_.marginMs);
        if (answer.kind == UsiEngine::Answer::Kind::Exited) {
            return lose(GameEnd::Crash, side, who(mover) + " " + endingOf(mover));
        }
        if (answer.kind == UsiEngine::Answer::Kind::NoAnswer) {
            engine.settle(std::max<int64_t>(500, time_.marginMs));
            return lose(GameEnd::TimeLoss, side, std::to_string(limit + time_.marginMs) + " ms without an answer");
        }
        if (answer.ms > limit + time_.marginMs) {
            return lose(GameEnd::TimeLoss, side,
                        std::to_string(answer.ms) + " ms for a move with " + std::to_string(limit) + " ms");
        }
        if (answer.word == "resign") return lose(GameEnd::Resignation, side);
        if (answer.word == "win") {
            std::string why;
            if (isValidDeclaration(referee_.position(), side, why)) return win(GameEnd::Declaration, side);
            return lose(GameEnd::BadDeclaration, side, why);
        }
        Move m;
        const std::string position = toSfen(referee_.position(), side, referee_.plies() + 1);
        if (!parseUsiMove(answer.word, side, m)) {
            return lose(GameEnd::IllegalMove, side,
                        joined({"bestmove '", engineText(answer.word), "' is no USI move"}));
        }
        if (!referee_.play(m)) {
            return lose(GameEnd::IllegalMove, side,
                        engineText(answer.word) + " is not legal in " + position);
        }
        out_.moves.push_back({m, mover, answer.ms, limit, answer.hasScore, answer.score});
        clock = std::max<int64_t>(0, clock - answer.ms) + time_.incMs;
    }

    UsiEngine* engines_[2];
    int blackEngine_;
    const Opening& opening_;
    TimeControl time_;
    Referee referee_;
    int64_t clock_[2];
    GameOutcome out_;
    bool over_ = false;
};

}  // namespace

const char* gameEndName(GameEnd end) {
    switch (end) {
        case GameEnd::Mate: return "mate";
        case GameEnd::Resignation: return "resignation";
        case GameEnd::Declaration: return "entering-king declaration";
        case GameEnd::BadDeclaration: return "invalid declaration";
        case GameEnd::IllegalMove: return "illegal move";
        case GameEnd::TimeLoss: return "time loss";
        case GameEnd::Crash: return "crash";
        case GameEnd::Repetition: return "repetition";
        case GameEnd::PerpetualCheck: return "perpetual check";
        case GameEnd::PlyLimit: return "ply limit";
    }
    return "?";
}

GameOutcome playMatchGame(UsiEngine* engines[2], int blackEngine, const Opening& opening,
                          const TimeControl& time) {
    return Game(engines, blackEngine, opening, time).play();
}

}  // namespace nusari::tool
