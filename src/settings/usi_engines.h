// The USI engines the user registered: a display name, the command line
// and the options the engine announced with the values chosen, kept in
// section UsiEngines of the settings file. They join the 対戦COM list after
// the .aik engines, and one may play the remote side (port name
// "USI:<name>").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "usi/usi_engine.h"
#include "usi/usi_option.h"

namespace nusari {

struct UsiEngineEntry {
    std::string name;         // UTF-8, unique among the entries
    std::string commandLine;  // the program and its arguments
    std::vector<UsiOption> options;
    bool operator==(const UsiEngineEntry&) const = default;
};

inline constexpr int32_t kMaxUsiEngines = 50;
inline constexpr int32_t kMaxUsiOptions = 500;
// The prefix that marks a USI engine in a port name and in the engine
// list's paths.
inline constexpr std::string_view kUsiPrefix = "USI:";
// The mark before a USI engine's name in the 対戦COM list.
inline constexpr std::string_view kUsiListMark = "[USI] ";
// How long an engine may take to answer "usi" and "isready".
inline constexpr int64_t kUsiHandshakeMs = 10000;

// The entries of the settings file in their order. Entries without a name
// or a command line, repeated names and options that do not read are left
// out; a value the option does not take gives its default.
std::vector<UsiEngineEntry> ReadUsiEngines(SettingsStore& store);
// Sets the keys whose values differ from the entries; the keys of entries
// and options no longer there are removed.
void WriteUsiEngines(SettingsStore& store, const std::vector<UsiEngineEntry>& entries);

// Whether a key of section UsiEngines is one the entries are written to
// (Count, NameN, CommandN, OptionCountN, OptionN_K, ValueN_K; any case),
// and how many such keys the most entries take.
bool IsUsiEngineKey(std::string_view key);
inline constexpr int32_t kMaxUsiEngineKeys = 1 + kMaxUsiEngines * (3 + 2 * kMaxUsiOptions);

// "USI:<name>" for an entry; the name after the prefix, or nothing for a
// text without it.
std::string UsiPortName(std::string_view name);
std::optional<std::string> UsiEngineName(std::string_view portOrPath);
const UsiEngineEntry* FindUsiEngine(const std::vector<UsiEngineEntry>& entries,
                                    std::string_view name);

// The process to start for an entry: its words and every option whose
// value differs from the default (buttons are never sent). False when the
// command line does not split (an unclosed quote, nothing in it).
bool UsiCommandOf(const UsiEngineEntry& entry, EngineCommand& command);

}  // namespace nusari
