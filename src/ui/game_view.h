// What the game controller shows in the window beyond the reporter: the
// game state, the enabled controls, the board, the pages, the timers and the
// file dialogs. The main window implements it; tests use a recording fake.
#pragma once

#include <cstdint>
#include <string>

#include "aik/ui.h"
#include "game/game_state.h"

namespace nusari {

// Columns of the window's table of enabled controls.
enum class ControlSet : int32_t {
    Startup,           // after start-up
    GameRunning,       // while a game runs
    NoGame,            // after a game, an interruption or a loaded record
    FailedRecordLoad,  // after a record failed to load
    Analysing,         // while an engine analysis runs
    AnalysisDone,      // after an engine analysis
};

// The window's file dialogs.
enum class FileDialog : int32_t {
    OpenRecord,  // hirakuD: a CSA or KIF record
    SaveRecord,  // hozonD: a CSA record
    OpenAik,     // OpenDialog_Aik: an engine-definition file
};

// The answers to "save the changes?".
enum class SaveChoice : int32_t { Save, Discard, Cancel };

class GameView : public Ui {
public:
    // The window hooks do nothing by default, so a view without a window
    // (most tests) ignores them.
    // Selects row `index` of the start-position list taikyoku_teai.
    virtual void selectPreset(int32_t /*index*/) {}
    virtual void setGameState(GameState /*state*/) {}
    // Enables and disables the tool-bar buttons and the board as `set` says.
    virtual void setControls(ControlSet /*set*/) {}
    // Redraws the board from the engine's current position.
    virtual void drawBoard() {}
    // The values of the window's pages (new game, settings) changed in the
    // controller, including whether the pages are shown.
    virtual void pagesChanged() {}
    // Draws the blue selection frame with its top left corner at (x, y) of
    // the visible board picture; the next drawBoard removes it.
    virtual void drawSelectionFrame(int32_t /*x*/, int32_t /*y*/) {}
    // Starts the poll timer with the interval, or stops it with 0.
    virtual void setPollTimer(int32_t /*intervalMs*/) {}
    // Starts the clock timer with the interval, or stops it with 0.
    virtual void setClockTimer(int32_t /*intervalMs*/) {}
    // One of the last ten seconds of byoyomi (10 … 1) has begun: a beep, or
    // the voice of that second where its sound file is present.
    virtual void countdown(int32_t /*second*/) {}
    // Pops up the in-game menu at (x, y) of the board picture.
    virtual void showGameMenu(int32_t /*x*/, int32_t /*y*/) {}
    // Pops up the board's menu of no game (盤面反転, 局面編集) at (x, y).
    virtual void showBoardMenu(int32_t /*x*/, int32_t /*y*/) {}
    // Runs a file dialog; the chosen path (UTF-8), or empty when cancelled.
    virtual std::string chooseFile(FileDialog /*kind*/, const std::string& /*proposedName*/) {
        return {};
    }
    // Asks whether to save changes before they would be lost; a yes/no
    // question (no: discard) where the view has no three-button box.
    virtual SaveChoice askToSave(const std::string& text) {
        return ask(text) ? SaveChoice::Save : SaveChoice::Discard;
    }
    // Opens a finished document (the analysis report) with the desktop's
    // default program; false when it could not be opened (without a window,
    // nothing is).
    virtual bool openDocument(const std::string& /*path*/) { return false; }
    // Closes the main window as its close button does.
    virtual void closeWindow() {}
    // The continuous match in progress ("連続対局 3/10"), shown in the window
    // title and above the thinking panel's text; empty without a match.
    virtual void showMatch(const std::string& /*text*/) {}
    // 検討 began, ended or has new reports: the panes show ShownStudy().
    virtual void studyChanged() {}
    // The tournament's table, lines or state changed (ShownTournament).
    virtual void tournamentChanged() {}
};

}  // namespace nusari
