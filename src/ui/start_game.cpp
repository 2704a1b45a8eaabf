// Starting a game from the new-game page.
#include "aik/aik_loader.h"
#include "position/position.h"
#include "position/text_encoding.h"
#include "think/clock.h"
#include "ui/game_controller.h"
#include "ui/play_prefs.h"
#include "ui/time_text.h"
#include "ui/ui_texts.h"

namespace nusari {

namespace {

// The name-box commands that set up a continuous match.
struct NameCommand {
    const char* text;
    int32_t renzoku;
    int32_t irekawari;  // -1 leaves the rotation mode as it is
};

constexpr NameCommand kNameCommands[] = {
    {"renzoku=10", 10, -1},
    {"renzoku=30", 30, -1},
    {"renzoku=100", 100, -1},
    {"irekawari", 1, 1},
};

}  // namespace

bool GameController::runNameCommand() {
    for (const NameCommand& command : kNameCommands) {
        if (page.playerName != command.text) continue;
        // A match kept for later gives way to the new one.
        if (matchTotal_ > 0) endMatch();
        renzoku = command.renzoku;
        if (command.irekawari >= 0) irekawari = command.irekawari;
        ui.message(kNameCommandDone);
        return true;
    }
    return false;
}

// A preset, or the position on the board with its side to move brought to
// the bottom. A position taken from the history carries thinking times in
// cells 111 and 119, which the search would read as its own values: clear
// them. Returns whether the start position is the standard diagram turned
// (its lower side is 後手).
bool GameController::placeStartPosition() {
    GameFields& g = fields;
    if (page.presetRow != kPresetContinue) {
        setupPosition(g.currentPosition, page.presetRow);
        return false;
    }
    g.currentPosition[kLowerTimeCell] = 0;
    g.currentPosition[kUpperTimeCell] = 0;
    bool turned = record->boardTurned != 0;
    if (moverOfPly(*record, g.plyCount + 1) == Side::Upper) {
        g.currentPosition = flipPosition(g.currentPosition);
        turned = !turned;
    }
    return turned;
}

// Names and orientation: the first player is always the side the start
// position has at the bottom. Names follow the standard diagram: 先手 is
// the lower side unless the board is turned.
void GameController::setPlayers(bool turned) {
    EngineState& e = *engine;
    GameFields& g = fields;
    const std::string you = toCp932(page.playerName);
    if (page.computerFirst) {
        g.currentPosition = flipPosition(g.currentPosition);
        turned = !turned;
    }
    record->humanIsSecond = page.computerFirst ? 1 : 0;
    record->boardTurned = turned ? 1 : 0;
    // A new game starts a new record: nothing of the one shown before stays.
    record->length = 0;
    record->ending = GameEnding::None;
    setName(turned ? record->secondName : record->firstName, you);
    setName(turned ? record->firstName : record->secondName,
            humanOpponent_ ? toCp932(kSecondPerson) : e.profile.namae);
    Position& start = record->history[0];
    start = g.currentPosition;
    start[kLowerTimeCell] = 0;
    start[kUpperTimeCell] = 0;
    // A new game: new clocks, nothing carried from the last referee.
    referee_.reset();
    startClocks();
    startReferee(page.computerFirst ? Side::Upper : Side::Lower);
}

void GameController::StartGame() {
    if (gameState != GameState::NoGame || openingLink_ || analysis_) return;
    if (tournament_ != nullptr) return showError(ui, kTournamentRunning);
    if (runNameCommand()) return;
    // A game ends 検討: the engines would share the machine with the game's.
    StopStudy();
    if (page.computersOnly) return startComputersGame();
    // A new game replaces the record; one continued from it keeps it.
    if (page.presetRow != kPresetContinue && !mayReplaceRecord()) return;
    if (page.linkChecked) {
        // The page may change while the link opens; the link decides.
        openingLink_ = true;
        page.linkChecked = link != nullptr && link->OpenLink(portName) == 1;
        openingLink_ = false;
        if (!page.linkChecked) {
            ui.pagesChanged();
            return;
        }
    }
    // A start that fails from here on closes the link it opened: a new start
    // opens it again.
    const bool linkOpened = page.linkChecked;
    auto refuse = [&] {
        if (linkOpened) link->CloseLink();
    };
    if (settingsPage.okEnabled && ApplySettings() != 1) return refuse();

    EngineState& e = *engine;
    GameFields& g = fields;
    humanOpponent_ = page.humanOpponent && !page.linkChecked && renzoku == 0;
    if (humanOpponent_) {
        // Nobody thinks: a USI engine of an earlier game goes.
        usiOpponent.reset();
        usiPlays_ = false;
    } else {
        const int32_t engines = static_cast<int32_t>(page.enginePaths.size());
        if (page.engineRow < 0 || page.engineRow >= engines) {
            showError(ui, kAikLoadError);
            return refuse();
        }
        e.enginePath = page.enginePaths[static_cast<std::size_t>(page.engineRow)];
        if (prepareComputer(e.enginePath) != 1) return refuse();
    }
    if (renzoku > 0 && matchTotal_ == 0) beginMatch();
    // The clocks and rules of a game begun are the next start's choice too;
    // a file that cannot be written loses only that.
    WritePlayPrefs(store, page);
    matchKept_ = false;

    HidePages();
    ui.setControls(ControlSet::GameRunning);
    ui.setPanelText(kGameStartText);
    if (page.presetRow < 0) SelectPreset(kPresetEven);
    g.lastDestination = 0;
    g.pendingFrom = 0;
    g.pendingTo = 0;
    // A game continued from the record plays on in its tree.
    gameBase_ = page.presetRow == kPresetContinue ? shownNode() : kNoNode;
    const bool turned = placeStartPosition();
    g.plyCount = 0;
    record->startTime = LocalTimeText();
    setPlayers(turned);
    if (page.linkChecked && link != nullptr) link->NamePlayers(*record);
    showMatch();
    DrawBoard();
    g.moveStartMs = now();
    if (page.computerFirst) {
        computerTurn();
    } else {
        lowerTurn();
    }
}

}  // namespace nusari
