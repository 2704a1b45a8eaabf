// The new-game page's choices that outlive the program, kept in the
// settings file's [Game] section: the time list's row, both sides' clocks
// and the rules at the board.
#pragma once

#include "settings/settings.h"
#include "ui/game_controller.h"

namespace nusari {

// The page's clocks and rules from the store; a missing or unusable value
// leaves the page's own.
void ReadPlayPrefs(SettingsStore& store, NewGamePage& page);
// Sets the values that differ from what the store holds, then flushes.
bool WritePlayPrefs(SettingsStore& store, const NewGamePage& page);

}  // namespace nusari
