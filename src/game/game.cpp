#include "game/game.h"

#include <algorithm>

#include "position/entering_king.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/sfen.h"

namespace nusari {

Game::Game(const GameSetup& setup) : setup_(setup) { rebuild(); }

// The start, the opening's moves and the clocks from the setup.
void Game::rebuild() {
    position_ = setup_.start;
    toMove_ = setup_.toMove;
    moves_.clear();
    played_.clear();
    keys_.assign(1, toSfen(position_, toMove_, 0));
    gaveCheck_.assign(1, false);
    seen_.clear();
    seen_[keys_.back()] = 1;
    repeated_ = false;
    outcome_ = {};
    clocksBefore_.clear();
    for (int s = 0; s < 2; ++s) clock_[s] = setup_.time[s].timeMs;
    for (const Move& m : setup_.opening) {
        if (!isLegalMove(position_, toMove_, m)) break;
        play(m);
    }
    judgePosition();
}

std::string Game::usiMoves() const {
    std::string text;
    Side side = setup_.toMove;
    for (const Move& m : moves_) {
        if (!text.empty()) text += ' ';
        text += moveToUsi(m, side);
        side = opponentOf(side);
    }
    return text;
}

int64_t Game::moveLimitMs() const {
    const TimeControl& t = timeOf(toMove_);
    if (!t.limited()) return -1;
    return clock_[index(toMove_)] + t.byoyomiMs;
}

int64_t Game::deadlineMs() const {
    const int64_t limit = moveLimitMs();
    return limit < 0 ? -1 : limit + timeOf(toMove_).marginMs;
}

bool Game::sideToMoveIsMated() const {
    MoveList legal;
    generateLegalMoves(position_, toMove_, legal);
    return legal.count == 0;
}

void Game::play(const Move& m) {
    applyMove(position_, toMove_, m);
    moves_.push_back(m);
    toMove_ = opponentOf(toMove_);
    keys_.push_back(toSfen(position_, toMove_, 0));
    gaveCheck_.push_back(isInCheck(position_, toMove_));
    if (++seen_[keys_.back()] >= 4) repeated_ = true;
}

std::optional<Side> Game::perpetualChecker() const {
    if (!repeated_) return std::nullopt;
    const size_t last = keys_.size() - 1;
    size_t first = 0;
    while (keys_[first] != keys_[last]) ++first;
    // Ply n was made by the side that started when n is odd.
    bool allChecks[2] = {true, true};
    for (size_t ply = first + 1; ply <= last; ++ply) {
        if (!gaveCheck_[ply]) allChecks[ply % 2] = false;
    }
    if (allChecks[1]) return setup_.toMove;
    if (allChecks[0]) return opponentOf(setup_.toMove);
    return std::nullopt;
}

void Game::lose(Side side, GameEnding ending, std::string detail) {
    outcome_.ending = ending;
    outcome_.winner = opponentOf(side);
    outcome_.detail = std::move(detail);
}

// A mate on the last ply of the limit still wins.
void Game::judgePosition() {
    if (over()) return;
    if (sideToMoveIsMated()) return lose(toMove_, GameEnding::Mate);
    if (repeated_) {
        if (const std::optional<Side> checker = perpetualChecker()) {
            return lose(*checker, GameEnding::PerpetualCheck);
        }
        outcome_.ending = GameEnding::Repetition;
        return;
    }
    if (plies() >= setup_.maxPlies) outcome_.ending = GameEnding::PlyLimit;
}

const Outcome& Game::answer(const PlayerAnswer& a) {
    if (over()) return outcome_;
    const Side side = toMove_;
    const int64_t limit = moveLimitMs();
    const int64_t deadline = deadlineMs();
    using Kind = PlayerAnswer::Kind;
    if (a.kind == Kind::Gone) {
        lose(side, GameEnding::PlayerGone, a.detail);
        return outcome_;
    }
    if (a.kind == Kind::Verdict && a.ending != GameEnding::None) {
        // The remote keeps the game: its word on the end stands.
        outcome_.ending = a.ending;
        if (a.result == 1) outcome_.winner = side;
        if (a.result == 2) outcome_.winner = opponentOf(side);
        outcome_.detail = a.detail;
        return outcome_;
    }
    if (a.kind == Kind::Interrupt || (a.kind == Kind::Verdict && a.ending == GameEnding::None)) {
        interrupt();
        return outcome_;
    }
    if (a.kind == Kind::NoAnswer) {
        lose(side, GameEnding::NoAnswer,
             a.detail.empty() && deadline >= 0 ? std::to_string(deadline) + " ms without an answer" : a.detail);
        return outcome_;
    }
    if (deadline >= 0 && a.ms > deadline) {
        lose(side, GameEnding::TimeUp,
             std::to_string(a.ms) + " ms for a move with " + std::to_string(limit) + " ms");
        return outcome_;
    }
    switch (a.kind) {
        case Kind::Resign:
            lose(side, GameEnding::Resign);
            return outcome_;
        case Kind::Declare: {
            std::string why;
            const bool turned = setup_.senteSide != Side::Lower;
            const Position real = turned ? flipPosition(position_) : position_;
            if (isValidDeclaration(real, turned ? opponentOf(side) : side, why)) {
                outcome_.ending = GameEnding::EnteringKingWin;
                outcome_.winner = side;
            } else {
                lose(side, GameEnding::BadDeclaration, why);
            }
            return outcome_;
        }
        case Kind::Malformed:
            lose(side, GameEnding::FoulLoss, a.detail);
            return outcome_;
        case Kind::Takeback:
            // A request, not a move: the caller asks the other side first.
            return outcome_;
        default:
            break;
    }
    if (!isLegalMove(position_, side, a.move)) {
        lose(side, GameEnding::FoulLoss,
             moveToUsi(a.move, side) + " is not legal in " + toSfen(position_, side, plies() + 1));
        return outcome_;
    }
    clocksBefore_.push_back(clock_[0]);
    clocksBefore_.push_back(clock_[1]);
    if (timeOf(side).limited()) {
        int64_t& clock = clock_[index(side)];
        clock = std::max<int64_t>(0, clock - std::max<int64_t>(0, a.ms)) + timeOf(side).incMs;
    }
    played_.push_back({a.move, side, std::max<int64_t>(0, a.ms), limit, a.hasScore, a.score});
    play(a.move);
    judgePosition();
    return outcome_;
}

bool Game::takeBack(int32_t count) {
    if (count < 0 || count > static_cast<int32_t>(played_.size())) return false;
    const size_t keep = played_.size() - static_cast<size_t>(count);
    std::vector<PlayedMove> kept(played_.begin(), played_.begin() + static_cast<std::ptrdiff_t>(keep));
    std::vector<int64_t> clocks(clocksBefore_.begin(), clocksBefore_.begin() + static_cast<std::ptrdiff_t>(keep * 2));
    const int64_t restored[2] = {count > 0 ? clocksBefore_[keep * 2] : clock_[0],
                                 count > 0 ? clocksBefore_[keep * 2 + 1] : clock_[1]};
    rebuild();
    for (const PlayedMove& m : kept) play(m.move);
    played_ = std::move(kept);
    clocksBefore_ = std::move(clocks);
    clock_[0] = restored[0];
    clock_[1] = restored[1];
    outcome_ = {};
    judgePosition();
    return true;
}

void Game::forfeit(Side side, GameEnding ending, std::string detail) {
    if (!over()) lose(side, ending, std::move(detail));
}

void Game::interrupt() {
    if (!over()) outcome_ = {GameEnding::Interrupt, std::nullopt, {}};
}

const char* endingName(GameEnding ending) {
    switch (ending) {
        case GameEnding::None: return "none";
        case GameEnding::Resign: return "resignation";
        case GameEnding::Interrupt: return "interruption";
        case GameEnding::Repetition: return "repetition";
        case GameEnding::Impasse: return "impasse";
        case GameEnding::Mate: return "mate";
        case GameEnding::TimeUp:
        case GameEnding::NoAnswer: return "time loss";
        case GameEnding::FoulWin:
        case GameEnding::FoulLoss: return "illegal move";
        case GameEnding::EnteringKingWin: return "entering-king declaration";
        case GameEnding::Draw: return "draw";
        case GameEnding::PerpetualCheck: return "perpetual check";
        case GameEnding::PlyLimit: return "ply limit";
        case GameEnding::BadDeclaration: return "invalid declaration";
        case GameEnding::PlayerGone: return "crash";
    }
    return "?";
}

}  // namespace nusari
