#include "referee.h"

#include <algorithm>
#include <cstdio>

#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "think/clock.h"

namespace nusari::tool {

namespace {

Position evenStart() {
    Position p;
    setupPosition(p, kPresetEven);
    return p;
}

}  // namespace

Referee::Referee() : Referee(evenStart(), Side::Lower) {}

Referee::Referee(const Position& start, Side toMove)
    : position_(start), toMove_(toMove), startSide_(toMove) {
    keys_.push_back(toSfen(position_, toMove_, 0));
    gaveCheck_.push_back(false);
    seen_[keys_.back()] = 1;
}

bool Referee::sideToMoveIsMated() const {
    MoveList legal;
    generateLegalMoves(position_, toMove_, legal);
    return legal.count == 0;
}

bool Referee::play(const Move& m) {
    if (!isLegalMove(position_, toMove_, m)) return false;
    if (!usiMoves_.empty()) usiMoves_ += ' ';
    usiMoves_ += moveToUsi(m, toMove_);
    applyMove(position_, toMove_, m);
    toMove_ = opponentOf(toMove_);
    ++plies_;
    keys_.push_back(toSfen(position_, toMove_, 0));
    gaveCheck_.push_back(isInCheck(position_, toMove_));
    if (++seen_[keys_.back()] >= 4) repeated_ = true;
    return true;
}

std::optional<Side> Referee::perpetualChecker() const {
    if (!repeated_) return std::nullopt;
    const size_t last = keys_.size() - 1;
    size_t first = 0;
    while (keys_[first] != keys_[last]) ++first;
    // Ply n was made by the side that started when n is odd.
    bool allChecks[2] = {true, true};
    for (size_t ply = first + 1; ply <= last; ++ply) {
        if (!gaveCheck_[ply]) allChecks[ply % 2] = false;
    }
    if (allChecks[1]) return startSide_;
    if (allChecks[0]) return opponentOf(startSide_);
    return std::nullopt;
}

std::string Referee::drawReason() const {
    if (repeated_) return "repetition";
    if (plies_ >= kMaxPlies) return "ply limit";
    return "";
}

GameResult playRefereedGame(int lowerEngine, int64_t limitMs, const MoveSource& next) {
    GameResult result;
    Referee referee;
    while (referee.drawReason().empty()) {
        const Side side = referee.toMove();
        const int mover = side == Side::Lower ? lowerEngine : 1 - lowerEngine;
        result.plies = referee.plies();
        if (referee.sideToMoveIsMated()) {
            result.winner = 1 - mover;
            result.reason = "mate";
            return result;
        }
        const int64_t start = nowMs();
        const PlayerAnswer answer = next(mover, referee);
        const int64_t took = nowMs() - start;
        result.slowestMs = std::max(result.slowestMs, took);
        if (took * 10 > limitMs * 11) ++result.lateMoves;
        if (answer.usable && answer.resigns) {
            result.winner = 1 - mover;
            result.reason = "resignation";
            return result;
        }
        const std::string before = toSfen(referee.position(), side, referee.plies() + 1);
        if (!answer.usable || !referee.play(answer.move)) {
            const char name = mover == 0 ? 'A' : 'B';
            result.winner = 1 - mover;
            if (answer.usable || !answer.word.empty()) {
                const std::string word = answer.usable ? moveToUsi(answer.move, side) : answer.word;
                result.reason = "illegal move '" + word + "'";
                result.illegal = true;
                std::fprintf(stderr, "engine %c: illegal move '%s'%s in %s\n", name, word.c_str(),
                             answer.usable ? "" : " (no USI move)", before.c_str());
            } else {
                result.reason = answer.gone ? std::string("engine ") + name + " " + answer.text
                                            : answer.text;
                result.missing = true;
                if (answer.gone) result.gone = mover;
                std::fprintf(stderr, "engine %c%s %s at %s\n", name, answer.gone ? "" : ":",
                             answer.text.c_str(), before.c_str());
            }
            return result;
        }
    }
    result.plies = referee.plies();
    result.reason = referee.drawReason();
    return result;
}

void MatchTally::add(int game, int lowerEngine, const GameResult& r) {
    plies_ += r.plies;
    slowest_ = std::max(slowest_, r.slowestMs);
    late_ += r.lateMoves;
    if (r.illegal) ++illegal_;
    if (r.missing) ++missing_;
    if (r.winner < 0) {
        ++draws_;
    } else {
        ++wins_[r.winner];
    }
    std::printf("game %d: sente %c, %s, %d plies, %s\n", game, lowerEngine == 0 ? 'A' : 'B',
                r.winner < 0 ? "draw" : (r.winner == 0 ? "A wins" : "B wins"), r.plies,
                r.reason.c_str());
    std::fflush(stdout);
}

void MatchTally::printSummary(int games) const {
    std::printf(
        "summary: A %d, B %d, draws %d, illegal moves %d, missing answers %d, average %.1f plies, "
        "slowest move %lld ms, moves over the limit + 10%%: %d\n",
        wins_[0], wins_[1], draws_, illegal_, missing_, static_cast<double>(plies_) / std::max(1, games),
        static_cast<long long>(slowest_), late_);
}

}  // namespace nusari::tool
