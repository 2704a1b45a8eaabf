#include "settings/usi_engines.h"

#include <algorithm>

namespace nusari {

namespace {

constexpr std::string_view kSection = kUsiEnginesSection;

std::string key(std::string_view stem, int32_t entry) {
    std::string k(stem);
    k += std::to_string(entry);
    return k;
}

std::string optionKey(std::string_view stem, int32_t entry, int32_t option) {
    std::string k = key(stem, entry);
    k += '_';
    k += std::to_string(option);
    return k;
}

int32_t countOf(SettingsStore& store, const std::string& k, int32_t most) {
    const std::optional<std::string> text = store.value(kSection, k);
    const std::optional<int32_t> v = text ? ParseIniInteger(*text) : std::nullopt;
    return v ? std::clamp(*v, 0, most) : 0;
}

std::vector<UsiOption> readOptions(SettingsStore& store, int32_t entry) {
    std::vector<UsiOption> options;
    const int32_t count = countOf(store, key("OptionCount", entry), kMaxUsiOptions);
    for (int32_t k = 1; k <= count; ++k) {
        const std::optional<std::string> text = store.value(kSection, optionKey("Option", entry, k));
        UsiOption option;
        if (!text || !parseUsiOption(*text, option)) continue;
        const std::optional<std::string> value = store.value(kSection, optionKey("Value", entry, k));
        if (value && usiOptionAccepts(option, *value)) option.value = *value;
        options.push_back(std::move(option));
    }
    return options;
}

}  // namespace

std::vector<UsiEngineEntry> ReadUsiEngines(SettingsStore& store) {
    std::vector<UsiEngineEntry> entries;
    const int32_t count = countOf(store, "Count", kMaxUsiEngines);
    for (int32_t i = 1; i <= count; ++i) {
        UsiEngineEntry entry;
        entry.name = store.value(kSection, key("Name", i)).value_or("");
        entry.commandLine = store.value(kSection, key("Command", i)).value_or("");
        if (entry.name.empty() || entry.commandLine.empty()) continue;
        if (FindUsiEngine(entries, entry.name) != nullptr) continue;
        entry.options = readOptions(store, i);
        entries.push_back(std::move(entry));
    }
    return entries;
}

namespace {

// Sets the key only when its value differs, so that a write changes no more
// than it must; no value removes the key.
void put(SettingsStore& store, const std::string& k, const std::optional<std::string>& v) {
    if (store.value(kSection, k) == v) return;
    if (v) {
        store.setValue(kSection, k, *v);
    } else {
        store.removeValue(kSection, k);
    }
}

}  // namespace

void WriteUsiEngines(SettingsStore& store, const std::vector<UsiEngineEntry>& entries) {
    const int32_t before = countOf(store, "Count", kMaxUsiEngines);
    const int32_t count = std::min<int32_t>(static_cast<int32_t>(entries.size()), kMaxUsiEngines);
    put(store, "Count", std::to_string(count));
    for (int32_t i = 1; i <= std::max(count, before); ++i) {
        const UsiEngineEntry* entry = i <= count ? &entries[static_cast<std::size_t>(i - 1)] : nullptr;
        const int32_t optionsBefore = countOf(store, key("OptionCount", i), kMaxUsiOptions);
        const int32_t options =
            entry ? std::min<int32_t>(static_cast<int32_t>(entry->options.size()), kMaxUsiOptions) : 0;
        using Value = std::optional<std::string>;
        put(store, key("Name", i), entry ? Value(entry->name) : std::nullopt);
        put(store, key("Command", i), entry ? Value(entry->commandLine) : std::nullopt);
        put(store, key("OptionCount", i), entry ? Value(std::to_string(options)) : std::nullopt);
        for (int32_t k = 1; k <= std::max(options, optionsBefore); ++k) {
            const UsiOption* option = k <= options ? &entry->options[static_cast<std::size_t>(k - 1)] : nullptr;
            put(store, optionKey("Option", i, k),
                option ? Value(usiOptionText(*option)) : std::nullopt);
            put(store, optionKey("Value", i, k), option ? Value(option->value) : std::nullopt);
        }
    }
}

namespace {

// Takes the leading decimal digits off the text; false when there are none.
bool takeNumber(std::string_view& text) {
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
    text.remove_prefix(n);
    return n > 0;
}

// Takes `stem` off the front of the text, ignoring ASCII case.
bool takeStem(std::string_view& text, std::string_view stem) {
    if (text.size() < stem.size()) return false;
    for (std::size_t i = 0; i < stem.size(); ++i) {
        const char c =
            text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 'a' + 'A') : text[i];
        if (c != stem[i]) return false;
    }
    text.remove_prefix(stem.size());
    return true;
}

}  // namespace

bool IsUsiEngineKey(std::string_view key) {
    for (std::string_view stem : {"COUNT", "NAME", "COMMAND", "OPTIONCOUNT"}) {
        std::string_view rest = key;
        if (takeStem(rest, stem) &&
            (stem == "COUNT" ? rest.empty() : takeNumber(rest) && rest.empty()))
            return true;
    }
    for (std::string_view stem : {"OPTION", "VALUE"}) {
        std::string_view rest = key;
        if (takeStem(rest, stem) && takeNumber(rest) && takeStem(rest, "_") && takeNumber(rest) &&
            rest.empty())
            return true;
    }
    return false;
}

std::string UsiPortName(std::string_view name) {
    std::string port(kUsiPrefix);
    port += name;
    return port;
}

std::optional<std::string> UsiEngineName(std::string_view portOrPath) {
    if (portOrPath.substr(0, kUsiPrefix.size()) != kUsiPrefix) return std::nullopt;
    return std::string(portOrPath.substr(kUsiPrefix.size()));
}

const UsiEngineEntry* FindUsiEngine(const std::vector<UsiEngineEntry>& entries, std::string_view name) {
    for (const UsiEngineEntry& entry : entries) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

bool UsiCommandOf(const UsiEngineEntry& entry, EngineCommand& command) {
    command = EngineCommand{};
    if (!splitCommandLine(entry.commandLine, command.argv)) return false;
    command.name = entry.name;
    for (const UsiOption& option : entry.options) {
        if (option.type == "button" || option.value == option.defaultValue) continue;
        if (!usiOptionAccepts(option, option.value)) continue;
        command.options.emplace_back(option.name, option.value.empty() ? "<empty>" : option.value);
    }
    return true;
}

}  // namespace nusari
