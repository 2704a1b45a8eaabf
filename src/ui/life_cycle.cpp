// Start-up and shut-down of the main window.
#include <algorithm>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "aik/engine_list.h"
#include "settings/usi_engines.h"
#include "think/book_random.h"
#include "think/hash_tables.h"
#include "think/think_move.h"
#include "ui/game_controller.h"
#include "ui/play_prefs.h"
#include "ui/ui_texts.h"

namespace nusari {

int32_t GameController::StartUp() {
    EngineState& e = *engine;
    GameFields& g = fields;
    SelectPreset(kPresetEven);
    analysisPrefs = ReadAnalysisPrefs(store);
    ReadPlayPrefs(store, page);
    randomSeed = static_cast<int32_t>(std::time(nullptr) % 1000);
    seedRandom(e.randomState, static_cast<uint32_t>(randomSeed));

    record->humanIsSecond = 0;
    record->boardTurned = 0;
    record->ending = GameEnding::None;
    record->length = 0;
    gameState = GameState::NoGame;
    g.plyCount = 0;
    g.lastDestination = 0;
    g.pendingFrom = 0;
    g.pendingTo = 0;
    renzoku = 0;
    irekawari = 0;
    setName(record->firstName, "");
    setName(record->secondName, "");
    setupPosition(g.currentPosition, page.presetRow);

    const Settings s = ReadSettings(store);
    startSettings = s;
    windowTop = s.top;
    windowLeft = s.left;
    windowWidth = s.width;
    windowHeight = s.height;
    e.timeLimitMs = std::max(s.maxTime, kMinTimeLimitMs);
    e.hashEntryCount = s.hash;
    e.csaTimeMode = s.csaTimeMode;
    portName = s.portName;

    // Every step runs even after a failure; the program then ends at once.
    bool usable = true;
    usiEngines = ReadUsiEngines(store);
    if (!RefreshEngineList()) {
        showError(ui, kNoAikFolder);
        usable = false;
    }
    page.engineRow = page.engineNames.empty() ? -1 : 0;
    page.secondEngineRow = page.engineRow;
    ui.pagesChanged();
    if (allocHash(e, ui) != 1) usable = false;
    ui.setControls(ControlSet::Startup);
    ShowSystemInfo();
    DrawBoard();
    return usable ? 1 : -1;
}

bool GameController::RefreshEngineList() {
    const std::string selected = page.engineRow >= 0 && page.engineRow < static_cast<int32_t>(page.enginePaths.size())
                                     ? page.enginePaths[static_cast<std::size_t>(page.engineRow)]
                                     : std::string();
    // Built afresh every time: the engines may have changed since.
    std::vector<std::string> names;
    std::vector<std::string> paths;
    const bool found = BuildEngineListFrom(folders.engineFolders, names, paths);
    for (const UsiEngineEntry& entry : usiEngines) {
        std::string shown(kUsiListMark);
        shown += entry.name;
        names.push_back(shown);
        paths.push_back(UsiPortName(entry.name));
    }
    page.engineNames = std::move(names);
    page.enginePaths = std::move(paths);
    // The row chosen stays chosen while it is listed.
    const auto at = std::find(page.enginePaths.begin(), page.enginePaths.end(), selected);
    if (at != page.enginePaths.end()) {
        page.engineRow = static_cast<int32_t>(at - page.enginePaths.begin());
    } else if (page.engineRow >= static_cast<int32_t>(page.enginePaths.size())) {
        page.engineRow = page.enginePaths.empty() ? -1 : 0;
    }
    if (page.secondEngineRow >= static_cast<int32_t>(page.enginePaths.size())) page.secondEngineRow = page.engineRow;
    return found;
}

bool GameController::CloseQuery() {
    // An engine being started is waited for (a few seconds at most).
    if (startingUsi_) return false;
    // A match waiting for its next game may close; a search may not.
    if (gameState == GameState::ComputerThinking && !matchPaused_) return false;
    if (gameState != GameState::NoGame) return ui.ask(kCloseDuringGame);
    return mayReplaceRecord();
}

void GameController::ShutDown(int32_t top, int32_t left) {
    // A match closed between its games still tells where its games went and
    // offers those that could not be saved.
    reportAutosaves();
    // A tournament's game is broken off; its engines quit.
    tournament_.reset();
    // A pause still running must not start a game in a closed window, nor
    // a search still running hand over its move.
    matchPaused_ = false;
    ++pauseNumber_;
    ++thinkNumber_;
    StopRecordAnalysis();
    StopStudy();
    stopThink();
    // A USI engine is told to quit, and ended when it does not.
    usiOpponent.reset();
    // The analysers of 検討 quit their engines on their own threads.
    LiveAnalyser::WaitForEnded(5000);
    // Closing while the link opens ends its wait.
    if (link != nullptr && (openingLink_ || (gameState != GameState::NoGame && page.linkChecked))) {
        link->CloseLink();
    }
    FreeHashTables(*engine);
    Settings s;
    s.top = top;
    s.left = left;
    s.width = windowWidth;
    s.height = windowHeight;
    s.maxTime = engine->timeLimitMs;
    s.hash = engine->hashEntryCount;
    s.csaTimeMode = engine->csaTimeMode;
    s.portName = portName;
    // Only what changed since start-up, so that another window's saves stay.
    if (!WriteSettings(store, s, startSettings)) showError(ui, store.saveProblem());
}

}  // namespace nusari
