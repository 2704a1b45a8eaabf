#include "records/record_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace nusari {

std::string_view fileExtension(std::string_view path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    if (path.find_first_of("/\\:", dot) != std::string_view::npos) return {};
    return path.substr(dot);
}

std::string lowerCaseExtension(std::string_view path) {
    std::string extension(fileExtension(path));
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return extension;
}

namespace {

// Writes all of `bytes` to `fd`.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The permissions of a new file: those of the file being replaced, or
// 0666 less the process's umask.
mode_t newFileMode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The folder part of `path`, up to and including its last '/'.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a save to `path` replaces: `path` itself, or the end of the chain
// of symbolic links it starts (which need not exist yet). False for a chain
// that is too long (a loop) or a link that cannot be read.
bool replacedFile(const std::string& path, std::string& target) {
    constexpr int kMaxLinks = 40;
    target = path;
    for (int links = 0; links < kMaxLinks; ++links) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char buffer[4096];
        const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return false;
        const std::string next(buffer, static_cast<std::size_t>(n));
        target = next[0] == '/' ? next : folderOf(target) + next;
    }
    return false;
}

// What a save's new file is called until it is renamed: the file's name,
// this mark and six characters that mkstemp picks.
constexpr std::string_view kSaveMark = ".nusari-save-";

// A save killed before its rename leaves its new file behind; the next save
// of the same file removes such files once they are old enough that no
// other save (another window's) can still be writing them.
void removeStaleSaves(const std::string& target) {
    namespace fs = std::filesystem;
    const fs::path file(target);
    const std::string prefix = file.filename().string() + std::string(kSaveMark);
    std::error_code ec;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const auto oldest = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc) || it->last_write_time(fileEc) > oldest || fileEc) continue;
        fs::remove(it->path(), fileEc);
    }
}

}  // namespace

bool writeFileReplacing(const std::string& path, std::string_view bytes) {
    std::string target;
    if (!replacedFile(path, target)) return false;
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return false;
    removeStaleSaves(target);
    std::string temp = target + std::string(kSaveMark) + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, newFileMode(target)) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace nusari
