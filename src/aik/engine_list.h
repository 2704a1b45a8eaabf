// The list of computer opponents: every .aik file under the "aik" folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace nusari {

// Every regular file below `root` (a folder), breadth first: the files of
// a folder in byte order of their names, its sub folders after them, each
// folder once even when symbolic links reach it twice. A symbolic link
// counts as what it points to. Unreadable entries, FIFOs, sockets and
// devices are left out; a missing root gives no files.
std::vector<std::string> FilesBreadthFirst(const std::string& root);

// Searches programFolder/aik breadth first, the entries of each folder in
// byte order of their names, and appends each regular file whose name ends
// in ".aik" (case-sensitive) to `names` (the name without the extension) and
// `paths` (folder + "/" + name). Returns false, touching nothing, when the
// aik folder does not exist. A folder reached twice (through a symbolic
// link) is searched once.
bool BuildEngineList(const std::filesystem::path& programFolder, std::vector<std::string>& names,
                     std::vector<std::string>& paths);

// The same for several aik folders, one after the other; false, touching
// nothing, when none of them exists.
bool BuildEngineListFrom(const std::vector<std::filesystem::path>& aikFolders,
                         std::vector<std::string>& names, std::vector<std::string>& paths);

}  // namespace nusari
