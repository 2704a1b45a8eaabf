// Where the program reads and writes: beside itself in a build folder, in
// the user's XDG folders once installed.
#include <gtest/gtest.h>

#include <ostream>

#include "settings/program_folders.h"

namespace nusari {
namespace {

using Paths = std::vector<std::filesystem::path>;

struct FolderCase {
    const char* name;
    FolderFacts facts;
    bool installed;
    const char* settingsFile;
    const char* dataFolder;
    Paths engineFolders;
    const char* writeFolder;
    const char* autosaveFolder;
};

FolderFacts facts(const char* exe, bool writable, bool aikBeside, bool shareFound,
                  const char* home = "/home/u", const char* config = "", const char* data = "") {
    return {exe, writable, aikBeside, shareFound, home, config, data};
}

const FolderCase kCases[] = {
    {"BuildFolder", facts("/src/build", true, true, false), false, "/src/build/NSProject.ini",
     "/src/build", {"/src/build/aik"}, "/src/build", "/src/build"},
    // A writable folder with its aik stays beside the program, even in a
    // prefix that also has share/nusari.
    {"WritableWithAikBesideAndShare", facts("/opt/n/bin", true, true, true), false,
     "/opt/n/bin/NSProject.ini", "/opt/n/bin", {"/opt/n/bin/aik"}, "/opt/n/bin", "/opt/n/bin"},
    {"InstalledForAUser", facts("/usr/bin", false, false, true), true,
     "/home/u/.config/nusari/NSProject.ini", "/usr/share/nusari",
     {"/home/u/.local/share/nusari/aik", "/usr/share/nusari/aik"}, "/home/u/.local/share/nusari",
     "/home/u/.local/share/nusari/output/record"},
    // root may write to /usr/bin; no aik beside it still means installed.
    {"InstalledForRoot", facts("/usr/bin", true, false, true, "/root"), true,
     "/root/.config/nusari/NSProject.ini", "/usr/share/nusari",
     {"/root/.local/share/nusari/aik", "/usr/share/nusari/aik"}, "/root/.local/share/nusari",
     "/root/.local/share/nusari/output/record"},
    {"XdgFoldersWin", facts("/usr/local/bin", false, false, true, "/home/u", "/cfg", "/dat"), true,
     "/cfg/nusari/NSProject.ini", "/usr/local/share/nusari",
     {"/dat/nusari/aik", "/usr/local/share/nusari/aik"}, "/dat/nusari", "/dat/nusari/output/record"},
    // Relative XDG values are ignored.
    {"RelativeXdgIgnored", facts("/usr/bin", false, false, true, "/home/u", "cfg", "dat"), true,
     "/home/u/.config/nusari/NSProject.ini", "/usr/share/nusari",
     {"/home/u/.local/share/nusari/aik", "/usr/share/nusari/aik"}, "/home/u/.local/share/nusari",
     "/home/u/.local/share/nusari/output/record"},
    // A read-only copy of a build folder reads beside itself, writes at home.
    {"ReadOnlyBuildFolder", facts("/mnt/build", false, true, false), true,
     "/home/u/.config/nusari/NSProject.ini", "/mnt/build",
     {"/home/u/.local/share/nusari/aik", "/mnt/build/aik"}, "/home/u/.local/share/nusari",
     "/home/u/.local/share/nusari/output/record"},
    // Without a home there is nowhere else to write.
    {"NoHome", facts("/usr/bin", false, false, true, ""), false, "/usr/bin/NSProject.ini",
     "/usr/bin", {"/usr/bin/aik"}, "/usr/bin", "/usr/bin"},
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramFoldersTest : public testing::TestWithParam<FolderCase> {};

TEST_P(ProgramFoldersTest, ChoosesTheFolders) {
    const FolderCase& c = GetParam();
    const ProgramFolders f = ChooseProgramFolders(c.facts);
    EXPECT_EQ(f.installed, c.installed);
    EXPECT_EQ(f.settingsFile, c.settingsFile);
    EXPECT_EQ(f.dataFolder, c.dataFolder);
    EXPECT_EQ(f.engineFolders, c.engineFolders);
    EXPECT_EQ(f.writeFolder, c.writeFolder);
    EXPECT_EQ(f.autosaveFolder, c.autosaveFolder);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramFoldersTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nusari
