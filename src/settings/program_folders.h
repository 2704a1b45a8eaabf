// Where the program reads its data and writes its settings and output.
// Run from its build folder (or any folder it may write), everything lies
// beside the executable, as always. Installed (its folder is not writable,
// or it has no aik folder while an installed data folder is there), the
// settings go to $XDG_CONFIG_HOME/nusari, what it writes to
// $XDG_DATA_HOME/nusari, and the engines, sounds and teacher games come
// from <prefix>/share/nusari, with the user's own engines listed first.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace nusari {

// What the choice depends on, gathered from the system by FindProgramFolders.
struct FolderFacts {
    std::filesystem::path exeFolder;
    bool exeFolderWritable = true;
    bool aikBesideExe = true;       // exeFolder/aik is a folder
    bool installedDataFound = false;  // exeFolder/../share/nusari is a folder
    std::string home;               // $HOME, or the password entry's home
    std::string xdgConfigHome;      // empty when unset
    std::string xdgDataHome;
};

struct ProgramFolders {
    bool installed = false;
    std::filesystem::path settingsFile;  // NSProject.ini
    // Read only: oto/ and kif/.
    std::filesystem::path dataFolder;
    // The aik folders, listed in this order.
    std::vector<std::filesystem::path> engineFolders;
    // Holds the output/ tree: the match log, the analysis reports.
    std::filesystem::path writeFolder;
    // The games a continuous match saves.
    std::filesystem::path autosaveFolder;
};

// The installed data folder relative to an executable in <prefix>/bin.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& exeFolder);

// Everything beside the program in `folder`.
ProgramFolders FoldersBesideProgram(const std::filesystem::path& folder);

// The folders for the facts given; no file system access.
ProgramFolders ChooseProgramFolders(const FolderFacts& facts);

// The facts of this process and the folders they give.
ProgramFolders FindProgramFolders(const std::filesystem::path& exeFolder);

// Creates the user's folders of an installed program (the settings file's
// folder, the output tree and the user's aik folder); nothing otherwise.
void CreateUserFolders(const ProgramFolders& folders);

// Lines for the system information: where the settings file, the output
// and the engines are. Empty beside the program.
std::string FolderInfoText(const ProgramFolders& folders);

}  // namespace nusari
