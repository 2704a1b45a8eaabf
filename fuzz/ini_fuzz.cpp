// The settings file NSProject.ini: IniFile on any bytes, and the window's
// store over a file of them. Setting a key changes no other key; saving the
// settings read changes none of them, nor the game server's section, and a
// second save of the same settings changes no byte.
#include "fuzz_support.h"
#include "remote/link_settings.h"
#include "settings/ini_file.h"

namespace {

using namespace nusari;

struct Key {
    std::string_view section;
    std::string_view key;
};

// Every key the program reads.
constexpr Key kKeys[] = {
    {"Form", "Top"},       {"Form", "Left"},    {"Aik", "MaxTime"},
    {"Aik", "Hash"},       {"Aik", "IsControlTime_CSA"},
    {"Rs232c", "PortName"}, {"Lan", "Host"},    {"Lan", "Port"},
    {"Lan", "User"},       {"Lan", "Password"}, {"Lan", "SendNul"},
};

// Values without blanks at their ends, which reading would trim.
constexpr std::string_view kValues[] = {"", "12", "-5", "LAN", "COM3", "a=b", "x;y [z]",
                                        "\x83\x5c", "/dev/ttyUSB0"};

void checkIniFile(std::string_view bytes) {
    IniFile file = IniFile::parse(bytes);
    FUZZ_CHECK(file.bytes() == bytes);
    for (const Key& k : kKeys) {
        // A CR inside a value would end the value set (the store keeps such a
        // value's bytes itself).
        const std::optional<std::string> v = file.find(k.section, k.key);
        if (v && v->find('\r') == std::string::npos) {
            file.set(k.section, k.key, *v);
            FUZZ_CHECK(file.bytes() == bytes);
        }
    }
    const Key& target = kKeys[bytes.size() % std::size(kKeys)];
    const std::string_view value = kValues[bytes.size() / 7 % std::size(kValues)];
    std::optional<std::string> before[std::size(kKeys)];
    for (std::size_t i = 0; i < std::size(kKeys); ++i) before[i] = file.find(kKeys[i].section, kKeys[i].key);
    file.set(target.section, target.key, value);
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        const Key& k = kKeys[i];
        if (&k == &target) {
            FUZZ_CHECK(file.find(k.section, k.key) == std::string(value));
        } else {
            FUZZ_CHECK(file.find(k.section, k.key) == before[i]);
        }
    }
}

void checkStore(std::string_view bytes) {
    if (bytes.size() > kIniFileLimit) return;
    const std::string path = fuzz::writeScratch("NSProject.ini", bytes);
    Settings settings;
    LanSettings lan;
    {
        IniFileStore store(path);
        settings = ReadSettings(store);
        lan = ReadLanSettings(store);
        WriteSettings(store, settings);
        FUZZ_CHECK(store.write());
    }
    const std::string saved = ReadIniFileBytes(path).bytes;
    IniFileStore store(path);
    FUZZ_CHECK(ReadSettings(store) == settings);
    FUZZ_CHECK(ReadLanSettings(store) == lan);
    WriteSettings(store, settings);
    FUZZ_CHECK(store.write());
    FUZZ_CHECK(ReadIniFileBytes(path).bytes == saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    checkIniFile(bytes);
    checkStore(bytes);
    return 0;
}
