#include "remote/link_settings.h"

#include <optional>

namespace nusari {

namespace {

constexpr std::string_view kLan = "Lan";

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The text, or the fallback when it is missing or empty.
std::string textOr(SettingsStore& store, std::string_view key, const std::string& fallback) {
    const std::optional<std::string> v = store.value(kLan, key);
    return v && !v->empty() ? *v : fallback;
}

}  // namespace

bool IsServerPort(std::string_view portName) {
    return portName.substr(0, 3) == "LAN";
}

std::string SerialDevicePath(std::string_view portName) {
    if (!portName.empty() && portName.front() == '/') return std::string(portName);
    if (portName.size() == 4 && portName.substr(0, 3) == "COM" && portName[3] >= '1' &&
        portName[3] <= '9') {
        return "/dev/ttyS" + std::string(1, static_cast<char>(portName[3] - 1));
    }
    const std::string_view kind = portName.substr(0, 3);
    const std::string_view number = portName.size() > 3 ? portName.substr(3) : std::string_view();
    if ((kind == "USB" || kind == "ACM") && allDigits(number) && number.size() <= 3) {
        return "/dev/tty" + std::string(portName);
    }
    return {};
}

LanSettings ReadLanSettings(SettingsStore& store) {
    LanSettings s;
    const LanSettings defaults;
    s.host = textOr(store, "Host", defaults.host);
    s.user = textOr(store, "User", defaults.user);
    s.password = textOr(store, "Password", defaults.password);
    if (const std::optional<std::string> port = store.value(kLan, "Port")) {
        const std::optional<int32_t> v = ParseIniInteger(*port);
        if (v && *v >= 1 && *v <= 65535) s.port = *v;
    }
    if (const std::optional<std::string> nul = store.value(kLan, "SendNul")) {
        const std::optional<int32_t> v = ParseIniInteger(*nul);
        s.sendNul = v && *v != 0;
    }
    return s;
}

}  // namespace nusari
