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
void takeFromHistory(GameFields& g, const GameRecord& record, int32_t ply) {
    g.currentPosition = record.history[static_cast<std::size_t>(ply)];
    g.currentPosition[kLowerTimeCell] = 0;
    g.currentPosition[kUpperTimeCell] = 0;
}

}  // namespace

void GameController::TakeBack() {
    GameFields& g = fields;
    if (g.plyCount <= 1) return;
    g.plyCount -= 2;
    plyScores_.resize(std::min(plyScores_.size(), static_cast<std::size_t>(g.plyCount)));
    takeFromHistory(g, *record, g.plyCount);
    // Back before the referee's start (a remote's takeback after an
    // interrupted judgement): it starts again here.
    if (referee_ && !referee_->takeBack(2)) startReferee(Side::Lower);
    g.moveStartMs = now();
    g.lastDestination = destinationOfPly(*record, g.plyCount);
    DrawBoard();
    gameState = GameState::LowerToMove;
    g.pendingFrom = 0;
}

void GameController::OnMatta() {
    if (gameState != GameState::LowerToMove) return;
    human_.give(PlayerAnswer::with(PlayerAnswer::Kind::Takeback));
    takeHumanAnswers();
}

void GameController::ShowRecordPly() {
    preview_.reset();
    GameFields& g = fields;
    g.plyCount = std::clamp(g.plyCount, 0, std::clamp(record->length, 0, kMaxRecordPlies));
    g.pendingFrom = 0;
    takeFromHistory(g, *record, g.plyCount);
    g.lastDestination = destinationOfPly(*record, g.plyCount);
    DrawBoard();
    ui.setPanelText(kReplayText);
}

int32_t GameController::ListedPlies() const {
    const int32_t plies = gameState == GameState::NoGame ? record->length : fields.plyCount;
    return std::clamp(plies, 0, kMaxRecordPlies);
}

GameController::MoveListView GameController::ShownMoveList() const {
    MoveListView view;
    // Moves made on the board or read without a time show none.
    std::vector<bool> timeUnknown;
    if (gameState == GameState::NoGame) {
        for (const NodeId id : line_) timeUnknown.push_back(tree.node(id).timeMs == kUnknownTime);
    }
    view.lines = MoveListLines(*record, ListedPlies(), timeUnknown);
    // A ply with alternatives is marked as KIF marks it.
    if (gameState == GameState::NoGame) {
        const std::size_t marked = std::min(line_.size(), view.lines.size() - 1);
        for (std::size_t ply = 1; ply <= marked; ++ply) {
            const RecordNode& n = tree.node(line_[ply - 1]);
            if (tree.node(n.parent).children.size() > 1) view.lines[ply] += " +";
        }
    }
    view.currentRow = std::clamp(fields.plyCount, 0, static_cast<int32_t>(view.lines.size()) - 1);
    return view;
}

void GameController::ReplayTo(int32_t ply) {
    if (gameState != GameState::NoGame || record->length == 0) return;
    fields.plyCount = ply;
    ShowRecordPly();
}

void GameController::stepReplay(ReplayStep step) {
    if (preview_) return stepPreview(step);
    int32_t& ply = fields.plyCount;
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
    if (gameState == GameState::NoGame && !showsTournament()) stepReplay(step);
}

void GameController::OnReplayKey(ReplayStep step) {
    if (gameState == GameState::NoGame && !showsTournament() && (record->length != 0 || preview_)) stepReplay(step);
}

}  // namespace nusari
