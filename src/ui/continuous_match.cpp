// Continuous matches: after each game the game is saved, the match is
// counted down or moves on to the next engine, and the next game begins at
// once from the even-game start with the sides exchanged. The window shows
// which game of how many is being played.
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
    std::error_code ec;
    std::filesystem::create_directories(folders.autosaveFolder, ec);
    const std::filesystem::path path = AutosavePath(folders.autosaveFolder, endTime, renzoku);
    if (writeFileReplacing(path.string(), FormatCsa(*record))) return true;
    ui.setPanelText(kAutosaveFailed + path.string());
    return false;
}

std::string GameController::MatchText() const {
    if (renzoku < 1 || matchTotal_ < 1) return {};
    std::string text = kMatchHeading;
    text += std::to_string(matchGame_);
    text += "/";
    text += std::to_string(matchTotal_);
    if (matchKept_) text += kMatchKeptNote;
    return text;
}

void GameController::showMatch() {
    ui.showMatch(MatchText());
}

// A rotation plays the engines from the selected row to the last one.
void GameController::beginMatch() {
    const int32_t engines = static_cast<int32_t>(page.enginePaths.size());
    matchTotal_ = irekawari == 1 ? engines - page.engineRow : renzoku;
    matchGame_ = 1;
    chosenEngineRow_ = page.engineRow;
    chosenComputerFirst_ = page.computerFirst;
}

void GameController::endMatch() {
    renzoku = 0;
    if (matchTotal_ > 0) {
        page.engineRow = chosenEngineRow_;
        page.computerFirst = chosenComputerFirst_;
        ui.pagesChanged();
    }
    matchTotal_ = 0;
    matchGame_ = 0;
    matchKept_ = false;
    showMatch();
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
    if (renzoku <= 0) {
        endMatch();
        return false;
    }
    ++matchGame_;
    showMatch();

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
        if (prepareComputer(e.enginePath) != 1) return false;
    }
    // A failed save stays in view above what follows.
    const std::string note = saved ? std::string() : ui.panelText() + "\n";
    if (!page.computerFirst) {
        beginContinuedGame(note);
        return true;
    }

    // Before the computer's first move the match waits, with the window
    // responsive and the game's controls guarded as while it thinks.
    if (page.linkChecked) ui.setPollTimer(0);
    gameState = GameState::ComputerThinking;
    matchPaused_ = true;
    const uint32_t number = ++pauseNumber_;
    ui.setPanelText(note + kMatchPauseText);
    pause(kMatchPauseMs, [this, number, note] {
        if (!matchPaused_ || number != pauseNumber_) return;
        matchPaused_ = false;
        beginContinuedGame(note);
    });
    return true;
}

// The sides, names and start entry of the next game, an even game from the
// standard diagram; then its first turn. The last game's texts (a book
// message of the engine before) give way to the start text.
void GameController::beginContinuedGame(const std::string& note) {
    ui.setPanelText(note + kGameStartText);
    setPlayers(false);
    if (page.linkChecked && link != nullptr) link->NamePlayers(*record);
    DrawBoard();
    engine->moveStartMs = nowMs();
    if (page.computerFirst) {
        computerTurn();
    } else {
        lowerTurn();
    }
}

}  // namespace nusari
