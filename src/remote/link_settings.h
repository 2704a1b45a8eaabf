// Where the link goes: the serial device a port name stands for, and the
// game server's settings (section Lan of the settings file).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace nusari {

// A port name whose first three characters are "LAN" selects the server.
bool IsServerPort(std::string_view portName);

// The device of a port name: COM1..COM9 are /dev/ttyS0..8, USBn and ACMn
// /dev/ttyUSBn and /dev/ttyACMn, a name beginning with "/" is a path; empty
// for anything else.
std::string SerialDevicePath(std::string_view portName);

struct LanSettings {
    std::string host = "127.0.0.1";  // a dotted address or a name
    int32_t port = 4081;
    std::string user = "Nusar";
    std::string password = "Pelvo";
    // 1: every line sent is followed by a zero byte, for servers that want it.
    bool sendNul = false;
    bool operator==(const LanSettings&) const = default;
};

// Host, Port, User, Password and SendNul of section Lan; a missing, empty
// or malformed value (a port outside 1..65535) gives the default.
LanSettings ReadLanSettings(SettingsStore& store);

}  // namespace nusari
