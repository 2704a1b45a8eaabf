#include "ui/usi_registration.h"

#include <algorithm>
#include <string_view>

#include "position/text_encoding.h"
#include "ui/game_controller.h"
#include "usi/usi_engine.h"

namespace nusari {

namespace {

std::string trimmed(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const size_t end = text.find_last_not_of(" \t");
    return std::string(text.substr(start, end - start + 1));
}

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f; });
}

// Whether the settings file (Shift-JIS) keeps the text as it is.
bool storable(std::string_view text) {
    return !hasControlCharacter(text) && toUtf8(toCp932(text)) == text;
}

// A name made from what an engine sent: UTF-8 or Shift-JIS bytes, anything
// else as '?', without control characters.
std::string nameFromEngine(const std::string& bytes) {
    std::string text = bytes;
    if (toUtf8(toCp932(text)) != text) {
        const std::string fromCp932 = toUtf8(text);
        text = toUtf8(toCp932(fromCp932));
    }
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f; }),
               text.end());
    return trimmed(text);
}

std::string programName(const std::string& program) {
    const size_t slash = program.find_last_of('/');
    return slash == std::string::npos ? program : program.substr(slash + 1);
}

bool refuse(GameController& c, const char* text, std::string_view detail = {}) {
    std::string shown(text);
    shown += detail;
    showError(c.ui, shown);
    return false;
}

UsiEngineEntry* entryNamed(GameController& c, const std::string& name) {
    for (UsiEngineEntry& entry : c.usiEngines) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

// A name the user typed: not empty, storable and not taken by another entry.
bool acceptableName(GameController& c, const std::string& name, const UsiEngineEntry* self) {
    if (name.empty()) return refuse(c, kUsiNoName);
    if (!storable(name)) return refuse(c, kUsiBadText, name);
    const UsiEngineEntry* other = entryNamed(c, name);
    if (other != nullptr && other != self) return refuse(c, kUsiNameTaken, name);
    return true;
}

// Starts the program once to learn its id name and options, then stops it;
// a failed start is told to the user by its kind.
bool probeEngine(GameController& c, const std::vector<std::string>& argv, const std::string& commandLine,
                 int64_t handshakeMs, std::string& idName, std::vector<UsiOption>& options) {
    EngineCommand command;
    command.argv = argv;
    UsiEngine engine(command, handshakeMs);
    engine.whileWaiting = [&c] { c.ui.pumpMessages(); };
    std::string error;
    const bool started = engine.start(error);
    if (started) {
        idName = engine.idName();
        options = engine.announcedOptions();
    }
    engine.stop();
    if (started) return true;
    switch (engine.startFailure()) {
        case UsiEngine::StartFailure::CannotStart:
            return refuse(c, kUsiCannotStart, commandLine);
        case UsiEngine::StartFailure::Exited:
            return refuse(c, kUsiExited, commandLine);
        case UsiEngine::StartFailure::NoReadyOk:
            return refuse(c, kUsiNoReadyOk, commandLine);
        case UsiEngine::StartFailure::None:
        case UsiEngine::StartFailure::NoUsiOk:
            break;
    }
    return refuse(c, kUsiNoUsiOk, commandLine);
}

// Takes the entries from the settings file as it is now: another window
// of the same folder may have changed them. Each change is then made on
// these, so that it keeps that window's.
void refreshUsiEngines(GameController& c) {
    c.store.reload();
    std::vector<UsiEngineEntry> now = ReadUsiEngines(c.store);
    if (now == c.usiEngines) return;
    c.usiEngines = std::move(now);
    c.RefreshEngineList();
    c.ui.pagesChanged();
}

}  // namespace

bool SaveUsiEngines(GameController& c) {
    WriteUsiEngines(c.store, c.usiEngines);
    const bool saved = c.store.flush();
    c.RefreshEngineList();
    c.ui.pagesChanged();
    if (!saved) showError(c.ui, c.store.saveProblem());
    return saved;
}

bool RegisterUsiEngine(GameController& c, const std::string& name, const std::string& commandLine,
                       int64_t handshakeMs) {
    refreshUsiEngines(c);
    if (c.usiEngines.size() >= static_cast<size_t>(kMaxUsiEngines)) return refuse(c, kUsiListFull);
    UsiEngineEntry entry;
    entry.name = trimmed(name);
    entry.commandLine = trimmed(commandLine);
    std::vector<std::string> argv;
    if (!splitCommandLine(entry.commandLine, argv)) return refuse(c, kUsiBadCommandLine);
    if (!storable(entry.commandLine)) return refuse(c, kUsiBadText, entry.commandLine);
    if (!entry.name.empty() && !acceptableName(c, entry.name, nullptr)) return false;

    std::string idName;
    if (!probeEngine(c, argv, entry.commandLine, handshakeMs, idName, entry.options)) return false;
    if (entry.name.empty()) {
        entry.name = nameFromEngine(idName);
        if (entry.name.empty()) entry.name = nameFromEngine(programName(argv[0]));
        if (!acceptableName(c, entry.name, nullptr)) return false;
    }
    // The window served its events during the start, and another window
    // may have saved: check the list again.
    refreshUsiEngines(c);
    if (entryNamed(c, entry.name) != nullptr) return refuse(c, kUsiNameTaken, entry.name);
    if (c.usiEngines.size() >= static_cast<size_t>(kMaxUsiEngines)) return refuse(c, kUsiListFull);
    c.usiEngines.push_back(std::move(entry));
    return SaveUsiEngines(c);
}

bool RemoveUsiEngine(GameController& c, const std::string& name) {
    refreshUsiEngines(c);
    const auto at = std::find_if(c.usiEngines.begin(), c.usiEngines.end(),
                                 [&name](const UsiEngineEntry& e) { return e.name == name; });
    if (at == c.usiEngines.end()) return false;
    c.usiEngines.erase(at);
    return SaveUsiEngines(c);
}

bool RenameUsiEngine(GameController& c, const std::string& name, const std::string& newName) {
    refreshUsiEngines(c);
    UsiEngineEntry* entry = entryNamed(c, name);
    if (entry == nullptr) return refuse(c, kUsiNotRegistered, name);
    const std::string wanted = trimmed(newName);
    if (!acceptableName(c, wanted, entry)) return false;
    if (wanted == entry->name) return true;
    entry->name = wanted;
    return SaveUsiEngines(c);
}

bool SetUsiOptionValues(GameController& c, const std::string& name,
                        const std::vector<std::string>& values) {
    refreshUsiEngines(c);
    UsiEngineEntry* entry = entryNamed(c, name);
    if (entry == nullptr) return refuse(c, kUsiNotRegistered, name);
    std::vector<UsiOption> options = entry->options;
    for (size_t i = 0; i < options.size() && i < values.size(); ++i) {
        UsiOption& option = options[i];
        if (option.type == "button") continue;
        std::string detail = option.name;
        detail += " = ";
        detail += values[i];
        if (!usiOptionAccepts(option, values[i])) return refuse(c, kUsiBadValue, detail);
        if (!storable(values[i])) return refuse(c, kUsiBadText, detail);
        option.value = values[i];
    }
    if (options == entry->options) return true;
    entry->options = std::move(options);
    return SaveUsiEngines(c);
}

bool RereadUsiOptions(GameController& c, const std::string& name, int64_t handshakeMs) {
    refreshUsiEngines(c);
    if (entryNamed(c, name) == nullptr) return refuse(c, kUsiNotRegistered, name);
    const std::string commandLine = entryNamed(c, name)->commandLine;
    std::vector<std::string> argv;
    if (!splitCommandLine(commandLine, argv)) return refuse(c, kUsiBadCommandLine);
    std::string idName;
    std::vector<UsiOption> announced;
    if (!probeEngine(c, argv, commandLine, handshakeMs, idName, announced)) return false;
    // The entry may have gone while the window served its events.
    refreshUsiEngines(c);
    UsiEngineEntry* entry = entryNamed(c, name);
    if (entry == nullptr) return refuse(c, kUsiNotRegistered, name);
    for (UsiOption& option : announced) {
        const auto before = std::find_if(entry->options.begin(), entry->options.end(),
                                         [&option](const UsiOption& o) { return o.name == option.name; });
        if (before != entry->options.end() && usiOptionAccepts(option, before->value)) {
            option.value = before->value;
        }
    }
    entry->options = std::move(announced);
    return SaveUsiEngines(c);
}

}  // namespace nusari
