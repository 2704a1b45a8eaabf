#include "settings/settings.h"

#include <charconv>

namespace nusari {

namespace {

constexpr std::string_view kForm = "Form";
constexpr std::string_view kAik = "Aik";
constexpr std::string_view kRs232c = "Rs232c";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int32_t readInteger(SettingsStore& store, std::string_view section, std::string_view key,
                    int32_t fallback, int32_t lowest) {
    const std::optional<std::string> text = store.value(section, key);
    if (!text) return fallback;
    const std::optional<int32_t> v = ParseIniInteger(*text);
    return v && *v >= lowest ? *v : fallback;
}

// A value the store lacks or that is no integer.
bool unreadable(SettingsStore& store, std::string_view section, std::string_view key) {
    const std::optional<std::string> text = store.value(section, key);
    return !text || !ParseIniInteger(*text);
}

// Sets the number; a value that already stands for it ("05", "+5") is set
// as written, so that its bytes stay where the file still holds them.
void setInteger(SettingsStore& store, std::string_view section, std::string_view key, int32_t v) {
    const std::optional<std::string> text = store.value(section, key);
    store.setValue(section, key, text && ParseIniInteger(*text) == v ? *text : std::to_string(v));
}

void writeInteger(SettingsStore& store, std::string_view section, std::string_view key, int32_t v,
                  int32_t before) {
    if (v != before || unreadable(store, section, key)) setInteger(store, section, key, v);
}

}  // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    int32_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

Settings ReadSettings(SettingsStore& store) {
    Settings s;
    const Settings defaults;
    s.top = readInteger(store, kForm, "Top", defaults.top, INT32_MIN);
    s.left = readInteger(store, kForm, "Left", defaults.left, INT32_MIN);
    s.width = readInteger(store, kForm, "Width", defaults.width, 0);
    s.height = readInteger(store, kForm, "Height", defaults.height, 0);
    s.maxTime = readInteger(store, kAik, "MaxTime", defaults.maxTime, 0);
    s.hash = readInteger(store, kAik, "Hash", defaults.hash, 1);
    s.csaTimeMode = readInteger(store, kAik, "IsControlTime_CSA", defaults.csaTimeMode, INT32_MIN);
    if (std::optional<std::string> port = store.value(kRs232c, "PortName")) s.portName = *port;
    return s;
}

bool WriteSettings(SettingsStore& store, const Settings& s, const Settings& before) {
    if (s.top != before.top || s.left != before.left || unreadable(store, kForm, "Top") ||
        unreadable(store, kForm, "Left")) {
        setInteger(store, kForm, "Top", s.top);
        setInteger(store, kForm, "Left", s.left);
    }
    // The size is written once the window has one: files of old keep their keys.
    if (s.width != before.width) setInteger(store, kForm, "Width", s.width);
    if (s.height != before.height) setInteger(store, kForm, "Height", s.height);
    writeInteger(store, kAik, "MaxTime", s.maxTime, before.maxTime);
    writeInteger(store, kAik, "Hash", s.hash, before.hash);
    writeInteger(store, kAik, "IsControlTime_CSA", s.csaTimeMode, before.csaTimeMode);
    if (s.portName != before.portName || !store.value(kRs232c, "PortName"))
        store.setValue(kRs232c, "PortName", s.portName);
    return store.flush();
}

bool WriteSettings(SettingsStore& store, const Settings& s) {
    return WriteSettings(store, s, ReadSettings(store));
}

bool IsNumeric(std::string_view text) {
    if (text.empty()) return false;
    const std::size_t n = text.size() < 32 ? text.size() : 32;
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

std::optional<int32_t> NumericValue(std::string_view text) {
    if (!IsNumeric(text)) return std::nullopt;
    int32_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

}  // namespace nusari
