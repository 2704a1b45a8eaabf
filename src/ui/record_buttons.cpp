// The open and save buttons: a record file read for replay, the current
// record written as CSA or KIF; and the clipboard's copy and paste.
#include <utility>

#include "position/position.h"
#include "position/text_encoding.h"
#include "records/csa_writer.h"
#include "records/kif_writer.h"
#include "records/load_record.h"
#include "records/position_text.h"
#include "records/record_text.h"
#include "records/record_writer.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

void GameController::OnOpenRecord() {
    // The question about unsaved changes comes before the file dialog.
    if (gameState != GameState::NoGame || analysis_ || !mayReplaceRecord()) return;
    const std::string path = ui.chooseFile(FileDialog::OpenRecord, "");
    if (!path.empty()) OpenRecordFile(path);
}

void GameController::OpenRecordFile(const std::string& path) {
    if (gameState != GameState::NoGame || analysis_ || !mayReplaceRecord()) return;
    const LoadOutcome loaded = LoadRecord(tree, *record, path, ui);
    line_ = tree.mainLine();
    recordChanged_ = false;
    showOpenedRecord(loaded.ok, loaded.start);
}

// A loaded record continues from the position shown; after a failure the
// next game is an even game, and no record is being replayed. Either way no
// game runs and the board shows ply 0.
void GameController::showOpenedRecord(bool ok, const Position& start) {
    SelectPreset(ok ? kPresetContinue : kPresetEven);
    fields.currentPosition = start;
    fields.currentPosition[kLowerTimeCell] = 0;
    fields.currentPosition[kUpperTimeCell] = 0;
    ui.setGameState(GameState::NoGame);
    ui.setControls(ok ? ControlSet::NoGame : ControlSet::FailedRecordLoad);
    fields.plyCount = 0;
    fields.lastDestination = 0;
    fields.pendingFrom = 0;
    ui.drawBoard();
    ui.setPanelText(ok ? kReplayText : "");
}

std::string GameController::CopiedText(CopyFormat format) const {
    const NodeId shown = shownNode();
    if (shown == kNoNode) return {};
    switch (format) {
        case CopyFormat::Kif: return toUtf8(FormatKif(tree));
        case CopyFormat::Ki2: return toUtf8(FormatKi2(tree));
        case CopyFormat::Csa: return toUtf8(FormatCsa(tree));
        case CopyFormat::Sfen: return "sfen " + FormatSfen(tree, shown);
        case CopyFormat::Usi: return FormatUsiPosition(tree, shown);
        case CopyFormat::Bod: return toUtf8(FormatBod(tree, shown));
    }
    return {};
}

// A pasted record has no file yet: it counts as a change, to be offered
// for saving before it is lost.
bool GameController::PasteRecordText(const std::string& text) {
    if (gameState != GameState::NoGame || analysis_ || !mayReplaceRecord()) return false;
    RecordTree pasted;
    const RecordTextOutcome read = ReadRecordText(text, pasted);
    if (!read.error.empty()) {
        showError(ui, read.error);
        return false;
    }
    tree = std::move(pasted);
    showUnsavedRecord();
    if (!read.variationError.empty()) ui.notify(read.variationError);
    return true;
}

GameController::ShownSetUpPosition GameController::ShownSetUp() const {
    ShownSetUpPosition shown;
    // The board as the window shows it, turned back when 先手 is on top.
    shown.position = record->boardTurned != 0 ? flipPosition(fields.currentPosition)
                                              : fields.currentPosition;
    shown.position[kLowerTimeCell] = 0;
    shown.position[kUpperTimeCell] = 0;
    shown.toMove = standardSideToMove(*record, fields.plyCount);
    return shown;
}

// A set-up position is the user's work: offered for saving like a paste.
bool GameController::StartFromSetUp(const SetUpResult& result) {
    if (gameState != GameState::NoGame || analysis_ || !result.ok() || !mayReplaceRecord())
        return false;
    tree.reset(result.position, result.toMove);
    showUnsavedRecord();
    return true;
}

void GameController::showUnsavedRecord() {
    mainLineToRecord(tree, *record);
    line_ = tree.mainLine();
    recordChanged_ = true;
    showOpenedRecord(true, record->history[0]);
}

void GameController::OnSaveRecord() {
    if (gameState != GameState::NoGame) return;
    saveTree();
}

}  // namespace nusari
