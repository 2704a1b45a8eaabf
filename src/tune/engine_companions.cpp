#include "tune/engine_companions.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "aik/aik_loader.h"
#include "aik/aik_reader.h"
#include "position/regular_file.h"
#include "records/record_files.h"

namespace nusari {

namespace {

namespace fs = std::filesystem;

// Companion files are small; anything this large is no book of ours.
constexpr std::size_t kMaxCompanionBytes = kMaxAikFileBytes;

fs::path folderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

}  // namespace

bool PlanCompanionCopies(const std::string& aikPath, const std::string& zyouseki,
                         const std::string& outPath, std::vector<CompanionCopy>& copies,
                         std::string& error) {
    copies.clear();
    if (zyouseki.empty()) return true;
    for (const char* extension : {".jsk", ".txk"}) {
        const std::string from = EngineCompanionPath(aikPath, zyouseki, extension);
        const std::string to = EngineCompanionPath(outPath, zyouseki, extension);
        std::string bytes;
        const FileRead read = readRegularFile(from, kMaxCompanionBytes, bytes);
        if (read != FileRead::Ok) {
            // The messages are optional; the book is not.
            if (std::string(extension) == ".txk" && read == FileRead::CannotOpen) continue;
            error = "cannot read " + from + ", which the engine file names";
            return false;
        }
        std::error_code ec;
        if (sameFile(from, to) || (!fs::exists(to, ec) && !fs::is_symlink(to, ec))) {
            if (!sameFile(from, to)) copies.push_back({from, to});
            continue;
        }
        std::string there;
        if (readRegularFile(to, kMaxCompanionBytes, there) != FileRead::Ok || there != bytes) {
            error = to + " differs from " + from +
                    ", and the tuned engine would use it: remove it or write the engine elsewhere";
            return false;
        }
    }
    return true;
}

bool CopyCompanions(const std::vector<CompanionCopy>& copies, std::string& error) {
    for (const CompanionCopy& c : copies) {
        std::string bytes;
        if (readRegularFile(c.from, kMaxCompanionBytes, bytes) != FileRead::Ok ||
            !writeFileReplacing(c.to, bytes)) {
            error = "cannot copy " + c.from + " to " + c.to;
            return false;
        }
    }
    return true;
}

bool CheckFolderWritable(const std::string& path, std::string& error) {
    const fs::path folder = folderOf(path);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = "there is no folder " + folder.string();
        return false;
    }
    std::string probe = (folder / ".nusari-write-check-XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        error = "cannot write in " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

}  // namespace nusari
