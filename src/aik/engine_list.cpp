#include "engine_list.h"

#include <algorithm>
#include <deque>
#include <set>
#include <system_error>

namespace nusari {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kAikExtension = ".aik";

// The entry names of `folder`, sorted by bytes; unreadable entries are left out.
std::vector<std::string> sortedEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A key that is the same for every path of one folder.
std::string folderKey(const std::string& folder) {
    std::error_code ec;
    const fs::path canonical = fs::canonical(folder, ec);
    return ec ? folder : canonical.string();
}

}  // namespace

std::vector<std::string> FilesBreadthFirst(const std::string& root) {
    std::vector<std::string> files;
    std::error_code ec;
    if (!fs::is_directory(root, ec)) return files;
    std::deque<std::string> queue{root};
    std::set<std::string> visited{folderKey(root)};
    while (!queue.empty()) {
        const std::string folder = queue.front();
        for (const std::string& name : sortedEntries(folder)) {
            if (name == "." || name == "..") continue;
            const std::string path = folder + "/" + name;
            const fs::file_status status = fs::status(path, ec);
            if (fs::is_directory(status)) {
                if (visited.insert(folderKey(path)).second) queue.push_back(path);
            } else if (fs::is_regular_file(status)) {
                files.push_back(path);
            }
        }
        queue.pop_front();
    }
    return files;
}

bool BuildEngineList(const fs::path& programFolder, std::vector<std::string>& names,
                     std::vector<std::string>& paths) {
    return BuildEngineListFrom({programFolder / "aik"}, names, paths);
}

bool BuildEngineListFrom(const std::vector<fs::path>& aikFolders, std::vector<std::string>& names,
                         std::vector<std::string>& paths) {
    bool found = false;
    for (const fs::path& folder : aikFolders) {
        const std::string root = folder.string();
        std::error_code ec;
        if (!fs::is_directory(root, ec)) continue;
        found = true;
        for (const std::string& path : FilesBreadthFirst(root)) {
            const std::string name = fs::path(path).filename().string();
            const std::size_t dot = name.rfind('.');
            if (dot != std::string::npos && std::string_view(name).substr(dot) == kAikExtension) {
                names.push_back(name.substr(0, dot));
                paths.push_back(path);
            }
        }
    }
    return found;
}

}  // namespace nusari
