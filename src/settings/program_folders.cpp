#include "settings/program_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "settings/settings.h"

namespace nusari {

namespace fs = std::filesystem;

namespace {

// $XDG_..._HOME when it is an absolute path, else $HOME/<fallback>; empty
// when neither gives an absolute path.
fs::path baseFolder(const std::string& xdg, const std::string& home, const char* fallback) {
    if (!xdg.empty() && fs::path(xdg).is_absolute()) return fs::path(xdg);
    if (!home.empty() && fs::path(home).is_absolute()) return fs::path(home) / fallback;
    return {};
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

}  // namespace

fs::path InstalledDataFolder(const fs::path& exeFolder) {
    return (exeFolder / ".." / "share" / "nusari").lexically_normal();
}

ProgramFolders FoldersBesideProgram(const fs::path& folder) {
    ProgramFolders f;
    f.settingsFile = folder / kSettingsFileName;
    f.dataFolder = folder;
    f.engineFolders = {folder / "aik"};
    f.writeFolder = folder;
    f.autosaveFolder = folder;
    return f;
}

ProgramFolders ChooseProgramFolders(const FolderFacts& facts) {
    const bool installed =
        !facts.exeFolderWritable || (!facts.aikBesideExe && facts.installedDataFound);
    if (!installed) return FoldersBesideProgram(facts.exeFolder);
    const fs::path config = baseFolder(facts.xdgConfigHome, facts.home, ".config");
    const fs::path data = baseFolder(facts.xdgDataHome, facts.home, ".local/share");
    // Without a home there is nowhere else to write: beside the program.
    if (config.empty() || data.empty()) return FoldersBesideProgram(facts.exeFolder);

    ProgramFolders f;
    f.installed = true;
    f.settingsFile = config / "nusari" / kSettingsFileName;
    f.dataFolder = facts.aikBesideExe || !facts.installedDataFound
                       ? facts.exeFolder
                       : InstalledDataFolder(facts.exeFolder);
    f.writeFolder = data / "nusari";
    f.engineFolders = {f.writeFolder / "aik", f.dataFolder / "aik"};
    f.autosaveFolder = f.writeFolder / "output" / "record";
    return f;
}

ProgramFolders FindProgramFolders(const fs::path& exeFolder) {
    FolderFacts facts;
    facts.exeFolder = exeFolder;
    facts.exeFolderWritable = ::access(exeFolder.c_str(), W_OK) == 0;
    facts.aikBesideExe = isFolder(exeFolder / "aik");
    facts.installedDataFound = isFolder(InstalledDataFolder(exeFolder));
    facts.home = environment("HOME");
    if (facts.home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr)
            facts.home = pw->pw_dir;
    }
    facts.xdgConfigHome = environment("XDG_CONFIG_HOME");
    facts.xdgDataHome = environment("XDG_DATA_HOME");
    return ChooseProgramFolders(facts);
}

void CreateUserFolders(const ProgramFolders& folders) {
    if (!folders.installed) return;
    std::error_code ec;
    fs::create_directories(folders.settingsFile.parent_path(), ec);
    fs::create_directories(folders.writeFolder / "output" / "record", ec);
    fs::create_directories(folders.writeFolder / "output" / "analysis", ec);
    fs::create_directories(folders.engineFolders.front(), ec);
}

std::string FolderInfoText(const ProgramFolders& folders) {
    if (!folders.installed) return {};
    std::string text = "\n\n  Settings = ";
    text += folders.settingsFile.string();
    text += "\n  Output = ";
    text += (folders.writeFolder / "output").string();
    for (const fs::path& aik : folders.engineFolders) {
        text += "\n  Aik = ";
        text += aik.string();
    }
    return text;
}

}  // namespace nusari
