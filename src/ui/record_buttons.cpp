// The open and save buttons: a record file read for replay, the current
// record written as CSA or KIF.
#include "records/load_record.h"
#include "records/record_writer.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

void GameController::OnOpenRecord() {
    // The question about unsaved changes comes before the file dialog.
    if (gameState != GameState::NoGame || !mayReplaceRecord()) return;
    const std::string path = ui.chooseFile(FileDialog::OpenRecord, "");
    if (!path.empty()) OpenRecordFile(path);
}

void GameController::OpenRecordFile(const std::string& path) {
    if (gameState != GameState::NoGame || !mayReplaceRecord()) return;
    const LoadOutcome loaded = LoadRecord(tree, *record, path, ui);
    line_ = tree.mainLine();
    recordChanged_ = false;
    // A loaded record continues from the position shown; after a failure the
    // next game is an even game, and no record is being replayed. Either
    // way no game runs and the board shows ply 0.
    SelectPreset(loaded.ok ? kPresetContinue : kPresetEven);
    fields.currentPosition = loaded.start;
    ui.setGameState(GameState::NoGame);
    ui.setControls(loaded.ok ? ControlSet::NoGame : ControlSet::FailedRecordLoad);
    fields.plyCount = 0;
    fields.lastDestination = 0;
    ui.drawBoard();
    ui.setPanelText(loaded.ok ? kReplayText : "");
}

void GameController::OnSaveRecord() {
    if (gameState != GameState::NoGame) return;
    saveTree();
}

}  // namespace nusari
