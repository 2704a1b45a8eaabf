// The end of a game, with a result or by an interruption.
#include "ui/game_controller.h"
#include "ui/time_text.h"

namespace nusari {

// The finished game becomes a record to replay.
void GameController::closeRecord() {
    EngineState& e = *engine;
    record->length = e.plyCount;
    record->endTime = LocalTimeText();
    e.lastDestination = 0;
    DrawBoard();
}

// Stops polling and closes a remote game's link; no game runs any more.
void GameController::leaveGame() {
    if (page.linkChecked) {
        ui.setPollTimer(0);
        if (link != nullptr) link->CloseLink();
    }
    gameState = GameState::NoGame;
    ui.setControls(ControlSet::NoGame);
}

void GameController::EndGame(int32_t /*result*/) {
    closeRecord();
    leaveGame();
}

void GameController::InterruptGame() {
    closeRecord();
    leaveGame();
    SelectPreset(kPresetContinue);
}

}  // namespace nusari
