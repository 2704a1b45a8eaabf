// Continuous matches: after each game the game is saved, the match is
// counted down or moves on to the next engine, and the next game begins at
// once from the even-game start with the sides exchanged.
#include "aik/aik_loader.h"
#include "position/setup.h"
#include "records/csa_writer.h"
#include "records/record_files.h"
#include "think/clock.h"
#include "ui/game_controller.h"
#include "ui/match_files.h"
#include "ui/time_text.h"
#include "ui/ui_texts.h"

namespace nusari {

// Saves the finished game under its numbered name. A message box would
// stop an unattended match, so a failure is told in the thinking panel and
// the match goes on.
bool GameController::saveMatchGame(std::time_t endTime) {
    const std::filesystem::path path = AutosavePath(programFolder, endTime, renzoku);
    if (writeFileReplacing(path.string(), FormatCsa(*record))) return true;
    ui.setPanelText(kAutosaveFailed + path.string());
    return false;
}

bool GameController::continueMatch(std::time_t endTime) {
    if (renzoku < 1) return false;
    const bool saved = saveMatchGame(endTime);
    const int32_t engines = static_cast<int32_t>(page.enginePaths.size());
    if (irekawari == 1) {
        // One game against each engine, down to the last row of the list.
        if (page.engineRow < engines - 1) {
            ++page.engineRow;
        } else {
            renzoku = 0;
        }
    } else {
        --renzoku;
    }
    if (renzoku <= 0) return false;

    page.computerFirst = !page.computerFirst;
    SelectPreset(kPresetEven);
    ui.pagesChanged();
    EngineState& e = *engine;
    setupPosition(e.currentPosition, kPresetEven);
    e.lastDestination = 0;
    e.pendingFrom = 0;
    e.pendingTo = 0;
    record->length = 0;
    e.plyCount = 0;
    record->startTime = LocalTimeText();
    if (irekawari == 1) {
        if (page.engineRow < 0 || page.engineRow >= engines) return false;
        e.enginePath = page.enginePaths[static_cast<std::size_t>(page.engineRow)];
        if (LoadAik(e, e.enginePath, ui) != 1) return false;
    }
    if (!page.computerFirst) {
        beginContinuedGame();
        return true;
    }

    // Before the computer's first move the match waits, with the window
    // responsive and the game's controls guarded as while it thinks.
    if (page.linkChecked) ui.setPollTimer(0);
    gameState = GameState::ComputerThinking;
    matchPaused_ = true;
    const uint32_t number = ++pauseNumber_;
    // The pause's note keeps a failed save's message in view.
    ui.setPanelText(saved ? std::string(kMatchPauseText) : ui.panelText() + "\n" + kMatchPauseText);
    pause(kMatchPauseMs, [this, number] {
        if (!matchPaused_ || number != pauseNumber_) return;
        matchPaused_ = false;
        beginContinuedGame();
    });
    return true;
}

// The sides, names and start entry of the next game, an even game from the
// standard diagram; then its first turn.
void GameController::beginContinuedGame() {
    setPlayers(false);
    DrawBoard();
    engine->moveStartMs = nowMs();
    if (page.computerFirst) {
        computerTurn();
    } else {
        lowerTurn();
    }
}

}  // namespace nusari
