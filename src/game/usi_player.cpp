#include "game/usi_player.h"

#include <algorithm>

#include "game/game.h"
#include "game/match_text.h"
#include "position/sfen.h"
#include "usi/joined_text.h"

namespace nusari {

namespace {

// How long an engine whose output ended may take to exit before it is told
// as one that only closed its output.
constexpr int64_t kExitGraceMs = 500;

}  // namespace

std::string usiGoCommand(const Game& game) {
    // b… is 先手's, w… 後手's, whichever side of the frame 先手 is.
    const Side black = game.senteSide();
    const Side white = opponentOf(black);
    const TimeControl& t = game.timeOf(game.toMove());
    std::string go = joined({"go btime ", std::to_string(game.clockMs(black)), " wtime ",
                             std::to_string(game.clockMs(white))});
    if (t.incMs > 0) {
        go += joined({" binc ", std::to_string(game.timeOf(black).incMs), " winc ",
                      std::to_string(game.timeOf(white).incMs)});
    } else if (t.byoyomiMs > 0) {
        go += " byoyomi " + std::to_string(t.byoyomiMs);
    }
    return go;
}

std::string usiPositionCommand(const Game& game, bool evenStart) {
    std::string text = "position ";
    text += evenStart ? std::string("startpos") : "sfen " + toSfen(game.start(), game.startSide(), 1);
    const std::string moves = game.usiMoves();
    if (!moves.empty()) text += " moves " + moves;
    return text;
}

std::optional<PlayerAnswer> usiAnswer(const UsiEngine::Answer& answer,
                                      const std::function<std::optional<Move>(const std::string&)>& readMove) {
    using Kind = UsiEngine::Answer::Kind;
    if (answer.kind == Kind::NoAnswer) return std::nullopt;
    if (answer.kind == Kind::Exited) return PlayerAnswer::with(PlayerAnswer::Kind::Gone, "exited");
    PlayerAnswer a;
    a.ms = answer.ms;
    a.hasScore = answer.hasScore;
    a.score = answer.score;
    if (answer.word == "resign") {
        a.kind = PlayerAnswer::Kind::Resign;
    } else if (answer.word == "win") {
        a.kind = PlayerAnswer::Kind::Declare;
    } else if (const std::optional<Move> m = readMove(answer.word)) {
        a.kind = PlayerAnswer::Kind::Move;
        a.move = *m;
    } else {
        a.kind = PlayerAnswer::Kind::Malformed;
        a.detail = answer.word;
    }
    return a;
}

UsiPlayer::UsiPlayer(UsiEngine& engine, std::string label, bool evenStart)
    : engine_(engine), label_(std::move(label)), evenStart_(evenStart) {}

bool UsiPlayer::startGame(const Game& game, Side side, std::string& error) {
    side_ = side;
    marginMs_ = game.timeOf(side).marginMs;
    sendFailed_ = false;
    if (engine_.newGame(error)) return true;
    error = label_ + ": " + engineText(error);
    return false;
}

void UsiPlayer::yourTurn(const Game& game) {
    sendFailed_ = !engine_.sendThink(usiPositionCommand(game, evenStart_), usiGoCommand(game));
}

PlayerAnswer UsiPlayer::gone() const {
    ChildProcess* process = engine_.process();
    const std::string how = process == nullptr ? "exited" : ChildProcess::describe(process->ending(kExitGraceMs));
    return PlayerAnswer::with(PlayerAnswer::Kind::Gone, label_ + " " + how);
}

std::optional<PlayerAnswer> UsiPlayer::poll(int64_t waitMs) {
    if (sendFailed_) return gone();
    const UsiEngine::Answer answer = engine_.pollThink(waitMs);
    if (answer.kind == UsiEngine::Answer::Kind::Exited) return gone();
    std::optional<PlayerAnswer> a = usiAnswer(answer, [this](const std::string& word) -> std::optional<Move> {
        Move m;
        if (!parseUsiMove(word, side_, m)) return std::nullopt;
        return m;
    });
    if (a && a->kind == PlayerAnswer::Kind::Malformed) {
        a->detail = joined({"bestmove '", engineText(a->detail), "' is no USI move"});
    }
    return a;
}

// Asked to stop, it may still answer; an engine that does not is ended.
void UsiPlayer::timedOut() { engine_.settle(std::max<int64_t>(500, marginMs_)); }

void UsiPlayer::gameOver(const Outcome& outcome, Side side) {
    engine_.gameOver(!outcome.winner ? "draw" : *outcome.winner == side ? "win" : "lose");
}

}  // namespace nusari
