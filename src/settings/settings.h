// The settings file NSProject.ini: what it holds, how its values are read,
// and the check of the number edits of the settings page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "aik/engine_state.h"

namespace nusari {

inline constexpr const char* kSettingsFileName = "NSProject.ini";
// The section of the registered USI engines, the one part of the file
// that may grow large (see kIniFileLimit).
inline constexpr std::string_view kUsiEnginesSection = "UsiEngines";

// The values of the settings file (defaults for a missing file or key).
struct Settings {
    int32_t top = 0;
    int32_t left = 0;
    int32_t maxTime = 10000;
    int32_t hash = kDefaultHashEntries;
    int32_t csaTimeMode = 0;
    std::string portName = "COM1";  // UTF-8
    int32_t width = 0;  // the window's size; 0 for the smallest
    int32_t height = 0;
    bool operator==(const Settings&) const = default;
};

// Key-value access to an INI file; the file's store (settings/ini_file.h) keeps
// every byte it was not asked to change.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The value of section/key as the file holds it (UTF-8), or nothing.
    virtual std::optional<std::string> value(std::string_view section, std::string_view key) = 0;
    virtual void setValue(std::string_view section, std::string_view key, const std::string& v) = 0;
    // Takes the key out of the file.
    virtual void removeValue(std::string_view section, std::string_view key) = 0;
    // Writes the values set and removed since the last flush; false when
    // they could not be saved (they stay, for the next flush to try), with
    // the text for the user in saveProblem().
    virtual bool flush() = 0;
    virtual std::string saveProblem() const { return {}; }
    // Reads the file again, so that edits made while the program runs count;
    // values set and not yet flushed stay. A store without a file keeps its values.
    virtual void reload() {}
};

// A whole decimal integer (blanks around it and a sign allowed) that fits in
// 32 bits; anything else gives nothing.
std::optional<int32_t> ParseIniInteger(std::string_view text);

// Reads every key; a missing or malformed value, a Hash below 1 or a MaxTime
// below 0 gives the default.
Settings ReadSettings(SettingsStore& store);
// Sets the values that differ from `before` (what was read at start-up)
// and those the store lacks or cannot read, then flushes; the result is
// the flush's. Values left alone keep what another window may have saved
// meanwhile. The window's place is one value: Top and Left are set together.
bool WriteSettings(SettingsStore& store, const Settings& settings, const Settings& before);
// The same with what the store holds now as `before`.
bool WriteSettings(SettingsStore& store, const Settings& settings);

// True when the text is not empty and each of its first 32 characters is a
// decimal digit.
bool IsNumeric(std::string_view text);

// The number a text that passed IsNumeric stands for, or nothing when it
// does not fit in 32 bits.
std::optional<int32_t> NumericValue(std::string_view text);

}  // namespace nusari
