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

namespace {

// Writes `bytes` as a numbered game in `folder`, made when missing; the
// path written, or empty.
std::string saveIn(const std::filesystem::path& folder, std::time_t endTime, int32_t renzoku,
                   const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path path = AutosavePath(folder, endTime, renzoku);
    return writeFileReplacing(path.string(), bytes) ? path.string() : std::string();
}

// Where a game goes when the autosave folder takes none: the output folder
// of the match log, or the program's writing folder when that is the
// autosave folder itself.
std::filesystem::path fallbackFolder(const ProgramFolders& folders) {
    const std::filesystem::path output = folders.writeFolder / "output" / "record";
    return output.lexically_normal() == folders.autosaveFolder.lexically_normal()
               ? folders.writeFolder
               : output;
}

}  // namespace

// Saves the finished game under its numbered name, once more when that
// fails (a passing fault), then in the fallback folder. A message box would
// stop an unattended match, so a failure is told in the thinking panel, the
// match goes on, and the end of the match tells it again; a game that
// could not be saved anywhere is kept until then.
bool GameController::saveMatchGame(std::time_t endTime) {
    const std::string bytes = FormatCsa(*record);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!saveIn(folders.autosaveFolder, endTime, renzoku, bytes).empty()) return true;
    }
    const std::string failed = AutosavePath(folders.autosaveFolder, endTime, renzoku).string();
    const std::string elsewhere = saveIn(fallbackFolder(folders), endTime, renzoku, bytes);
    if (!elsewhere.empty()) {
        gamesSavedElsewhere_.push_back(elsewhere);
        ui.setPanelText(kAutosaveFailed + failed + kAutosaveSavedElsewhere + elsewhere);
    } else {
        gamesUnsaved_.emplace_back(std::filesystem::path(failed).filename().string(), bytes);
        ui.setPanelText(kAutosaveFailed + failed + kAutosaveKept);
    }
    return false;
}

// At the end of a match: the games saved elsewhere are named, and each game
// still unsaved is tried again and then offered in the save dialog until it
// is saved or the user lets it go.
void GameController::reportAutosaves() {
    if (gamesSavedElsewhere_.empty() && gamesUnsaved_.empty()) return;
    std::vector<std::pair<std::string, std::string>> unsaved;
    for (auto& game : gamesUnsaved_) {
        const std::filesystem::path path = folders.autosaveFolder / game.first;
        std::error_code ec;
        std::filesystem::create_directories(folders.autosaveFolder, ec);
        if (!std::filesystem::exists(path, ec) && writeFileReplacing(path.string(), game.second)) {
            gamesSavedElsewhere_.push_back(path.string());
        } else {
            unsaved.push_back(std::move(game));
        }
    }
    gamesUnsaved_.clear();
    std::string text = kAutosaveReport;
    for (const std::string& path : gamesSavedElsewhere_) text += kAutosaveReportElsewhere + path;
    if (!unsaved.empty()) {
        text += kAutosaveReportKept + std::to_string(unsaved.size()) + kAutosaveReportKeptTail;
    }
    gamesSavedElsewhere_.clear();
    showError(ui, text);
    // A Ui without dialogs must not hold the end of the match for ever.
    constexpr int kMaxOffers = 5;
    for (const auto& [name, bytes] : unsaved) {
        for (int offer = 0; offer < kMaxOffers; ++offer) {
            const std::string path = ui.chooseFile(FileDialog::SaveRecord, name);
            if (path.empty()) {
                if (ui.ask(kDiscardGameQuestion + name)) break;
                continue;
            }
            if (writeFileReplacing(path, bytes)) break;
            showError(ui, kAutosaveFailed + path);
        }
    }
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
    reportAutosaves();
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
    GameFields& g = fields;
    setupPosition(g.currentPosition, kPresetEven);
    g.lastDestination = 0;
    g.pendingFrom = 0;
    g.pendingTo = 0;
    record->length = 0;
    g.plyCount = 0;
    gameBase_ = kNoNode;
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
    fields.moveStartMs = now();
    if (page.computerFirst) {
        computerTurn();
    } else {
        lowerTurn();
    }
}

}  // namespace nusari
