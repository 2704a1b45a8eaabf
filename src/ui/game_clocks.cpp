// The game clocks in the window: the new-game page's time list, the
// referee's clocks, the computer's time from its clock, loss on time, the
// countdown of the last seconds and the clocks on the board.
#include <algorithm>

#include "think/move_time.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

namespace {

// The clock timer's interval: a clock runs out at most this late.
constexpr int32_t kClockTickMs = 100;

}  // namespace

void GameController::startClocks() {
    clockGame_ = page.clockRow != kClockPerMove && !page.linkChecked;
    lastCountdown_ = 0;
    lastClocks_.clear();
    ui.setClockTimer(clockGame_ ? kClockTickMs : 0);
}

void GameController::stopClocks() {
    clockGame_ = false;
    ui.setClockTimer(0);
}

void GameController::SelectClockPreset(int32_t row) {
    if (row < 0 || row >= kClockPresetCount) return;
    page.clockRow = row;
    if (const std::optional<TimeControl> s = clockPresetSetting(row)) page.clocks[0] = page.clocks[1] = *s;
    ui.pagesChanged();
}

void GameController::SetClock(int32_t senteOrGote, const TimeControl& setting) {
    if (senteOrGote < 0 || senteOrGote > 1) return;
    page.clocks[senteOrGote] = setting;
    page.clockRow = clockPresetOf(page.clocks[0], page.clocks[1]);
    ui.pagesChanged();
}

void GameController::setUpClocks(GameSetup& setup) const {
    if (!clockGame_) return;
    const Side sente = setup.senteSide;
    for (const Side side : {Side::Lower, Side::Upper}) {
        // A person at the board answers at once; the computer's answer may
        // take the engines' margin to come.
        const int64_t margin = side == Side::Lower || humanOpponent_ ? 0 : kAnswerMarginMs;
        TimeControl& t = setup.time[sideIndex(side)];
        t = page.clocks[side == sente ? 0 : 1];
        t.marginMs = margin;
        // A referee started again mid-game keeps the time the clocks have.
        if (referee_) t.timeMs = referee_->clockMs(side);
    }
}

int64_t GameController::computerClockLimitMs() const {
    if (!clockGame_ || !referee_) return 0;
    const TimeControl& t = referee_->timeOf(Side::Upper);
    if (!t.limited()) return 0;
    return moveTimeFromClock(referee_->clockMs(Side::Upper), t.incMs, t.byoyomiMs);
}

bool GameController::clockRanOut(Side side, int64_t usedMs) {
    if (!clockGame_ || !referee_ || referee_->over() || referee_->toMove() != side) return false;
    const int64_t deadline = referee_->deadlineMs();
    if (deadline < 0 || usedMs <= deadline) return false;
    if (side == Side::Upper) {
        // The think in progress stops and its reply is dropped.
        ++thinkNumber_;
        stopThink();
    }
    referee_->forfeit(side, GameEnding::TimeUp, {});
    const bool inMatch = renzoku != 0;
    // The record's ending names the side to move, the one whose time ran out.
    EndGame(side == Side::Lower ? 2 : 1, GameEnding::TimeUp);
    tellAfterGame(side == Side::Lower ? kHumanTimeUp : humanOpponent_ ? kSecondPersonTimeUp : kComputerTimeUp, inMatch);
    return true;
}

void GameController::OnClockTick() {
    if (!clockGame_ || !referee_ || referee_->over() || matchPaused_) return;
    if (gameState != GameState::LowerToMove && gameState != GameState::ComputerThinking) return;
    const Side side = gameState == GameState::LowerToMove ? Side::Lower : Side::Upper;
    const int64_t used = now() - fields.moveStartMs;
    if (clockRanOut(side, used)) return;
    const int32_t second = countdownSecond(referee_->timeOf(side), referee_->clockMs(side), used);
    if (second != 0 && second != lastCountdown_) ui.countdown(second);
    lastCountdown_ = second;
    std::vector<std::string> shown = ShownClocks();
    if (shown == lastClocks_) return;
    lastClocks_ = std::move(shown);
    DrawBoard();
}

std::vector<std::string> GameController::ShownClocks() const {
    if (!clockGame_ || !referee_) return {};
    const bool running = gameState == GameState::LowerToMove || gameState == GameState::ComputerThinking;
    const Side sente = record->boardTurned != 0 ? Side::Upper : Side::Lower;
    std::vector<std::string> texts;
    for (const Side side : {sente, opponentOf(sente)}) {
        const bool moving = running && referee_->toMove() == side;
        int64_t used = moving ? now() - fields.moveStartMs : 0;
        const TimeControl& t = referee_->timeOf(side);
        // Without a limit the clock counts the side's whole time up.
        if (!t.limited()) {
            for (const PlayedMove& m : referee_->played()) used += m.side == side ? m.ms : 0;
        }
        texts.push_back(clockReading(t, referee_->clockMs(side), used));
    }
    return texts;
}

}  // namespace nusari
