// Takeback and replay: both bring an entry of the position history back
// onto the board.
#include <algorithm>

#include "think/clock.h"
#include "ui/game_controller.h"
#include "ui/move_list.h"
#include "ui/ui_texts.h"

namespace nusari {

namespace {

// The destination of ply `ply` in the board's frame, or 0 at the start: the
// red frame of the last move.
int32_t destinationOfPly(const GameRecord& record, int32_t ply) {
    if (ply < 1 || ply > kMaxRecordPlies) return 0;
    return plySquares(record.history[static_cast<std::size_t>(ply - 1)],
                      record.history[static_cast<std::size_t>(ply)])
        .to;
}

// Entry [ply] becomes the current position. Its cells 111 and 119 hold
// thinking times, which the search would read as its own values: they
// become 0 on the board.
void takeFromHistory(EngineState& e, const GameRecord& record, int32_t ply) {
    e.currentPosition = record.history[static_cast<std::size_t>(ply)];
    e.currentPosition[kLowerTimeCell] = 0;
    e.currentPosition[kUpperTimeCell] = 0;
}

}  // namespace

void GameController::TakeBack() {
    EngineState& e = *engine;
    if (e.plyCount <= 1) return;
    e.plyCount -= 2;
    takeFromHistory(e, *record, e.plyCount);
    // Back before the referee's start (a remote's takeback after an
    // interrupted judgement): it starts again here.
    if (referee_ && !referee_->takeBack(2)) startReferee(Side::Lower);
    e.moveStartMs = nowMs();
    e.lastDestination = destinationOfPly(*record, e.plyCount);
    DrawBoard();
    gameState = GameState::LowerToMove;
    e.pendingFrom = 0;
}

void GameController::OnMatta() {
    if (gameState == GameState::LowerToMove) TakeBack();
}

void GameController::ShowRecordPly() {
    EngineState& e = *engine;
    e.plyCount = std::clamp(e.plyCount, 0, std::clamp(record->length, 0, kMaxRecordPlies));
    takeFromHistory(e, *record, e.plyCount);
    e.lastDestination = destinationOfPly(*record, e.plyCount);
    DrawBoard();
    ui.setPanelText(kReplayText);
}

int32_t GameController::ListedPlies() const {
    const int32_t plies = gameState == GameState::NoGame ? record->length : engine->plyCount;
    return std::clamp(plies, 0, kMaxRecordPlies);
}

GameController::MoveListView GameController::ShownMoveList() const {
    MoveListView view;
    view.lines = MoveListLines(*record, ListedPlies());
    view.currentRow = std::clamp(engine->plyCount, 0, static_cast<int32_t>(view.lines.size()) - 1);
    return view;
}

void GameController::ReplayTo(int32_t ply) {
    if (gameState != GameState::NoGame || record->length == 0) return;
    engine->plyCount = ply;
    ShowRecordPly();
}

void GameController::stepReplay(ReplayStep step) {
    int32_t& ply = engine->plyCount;
    switch (step) {
        case ReplayStep::ToStart:
            ply = 0;
            break;
        case ReplayStep::Back:
            --ply;
            break;
        case ReplayStep::Forward:
            ++ply;
            break;
        case ReplayStep::ToEnd:
            ply = record->length;
            break;
    }
    ShowRecordPly();
}

void GameController::OnReplayButton(ReplayStep step) {
    if (gameState == GameState::NoGame) stepReplay(step);
}

void GameController::OnReplayKey(ReplayStep step) {
    if (gameState == GameState::NoGame && record->length != 0) stepReplay(step);
}

}  // namespace nusari
