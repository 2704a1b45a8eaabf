// The settings page: its edits, the check on leaving a number edit, and
// applying the values with a new pair of hash arrays.
#include <algorithm>

#include "think/book_random.h"
#include "think/hash_tables.h"
#include "think/think_move.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

namespace {

// The value a number edit's text gives, or nothing when the text is no
// number. A hash array of no entries is no size either.
std::optional<int32_t> editValue(SettingsEdit edit, const std::string& text) {
    const std::optional<int32_t> v = NumericValue(text);
    if (v && edit == SettingsEdit::Hash && *v < 1) return std::nullopt;
    return v;
}

}  // namespace

int32_t* GameController::numberOf(SettingsEdit edit) {
    switch (edit) {
        case SettingsEdit::TimeLimit:
            return &engine->timeLimitMs;
        case SettingsEdit::Hash:
            return &engine->hashEntryCount;
        case SettingsEdit::RandomSeed:
            return &randomSeed;
        case SettingsEdit::PortName:
            break;
    }
    return nullptr;
}

std::string* GameController::editText(SettingsEdit edit) {
    switch (edit) {
        case SettingsEdit::TimeLimit:
            return &settingsPage.timeLimit;
        case SettingsEdit::Hash:
            return &settingsPage.hash;
        case SettingsEdit::RandomSeed:
            return &settingsPage.randomSeed;
        case SettingsEdit::PortName:
            return &settingsPage.portName;
    }
    return nullptr;
}

void GameController::SettingsEdited(SettingsEdit edit, const std::string& text) {
    std::string* target = editText(edit);
    if (target == nullptr) return;
    *target = text;
    settingsPage.okEnabled = true;
}

void GameController::LeaveNumberEdit(SettingsEdit edit) {
    const int32_t* current = numberOf(edit);
    std::string* text = editText(edit);
    if (current == nullptr || text == nullptr || editValue(edit, *text)) return;
    showError(ui, kNotANumber);
    *text = std::to_string(*current);
    settingsPage.okEnabled = true;
    ui.pagesChanged();
}

void GameController::SettingsOk() {
    if (gameState != GameState::NoGame) return;
    ApplySettings();
    HidePages();
}

int32_t GameController::ApplySettings() {
    EngineState& e = *engine;
    FreeHashTables(e);
    for (SettingsEdit edit :
         {SettingsEdit::TimeLimit, SettingsEdit::Hash, SettingsEdit::RandomSeed}) {
        if (const std::optional<int32_t> v = editValue(edit, *editText(edit))) *numberOf(edit) = *v;
    }
    // The computer always searches: a shorter limit is taken as the least.
    e.timeLimitMs = std::max(e.timeLimitMs, kMinTimeLimitMs);
    portName = settingsPage.portName;
    seedRandom(e.randomState, static_cast<uint32_t>(randomSeed));
    if (allocHash(e, ui) != 1) {
        e.hashEntryCount = ReadSettings(store).hash;
        showError(ui, kHashReset + std::to_string(e.hashEntryCount));
        if (allocHash(e, ui) != 1) {
            ui.closeWindow();
            return -1;
        }
    }
    ShowSystemInfo();
    return 1;
}

void GameController::ShowSystemInfo() {
    std::string text = kVersionLine;
    text += "\n\n\n\n\n\n\n SystemInformation\n";
    text += "\n  MaxTime = " + std::to_string(engine->timeLimitMs);
    text += "\n  Hash = " + std::to_string(engine->hashEntryCount);
    text += "\n  PortName = " + portName;
    text += "\n  RandomSeed = " + std::to_string(randomSeed);
    text += FolderInfoText(folders);
    ui.setPanelText(text);
}

}  // namespace nusari
