#include "ui/match_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "ui/time_text.h"

namespace nusari {

std::string MatchLogLine(std::string_view endTime, std::string_view computerName, int32_t result,
                         int32_t plies) {
    std::string name(computerName);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    }
    std::string line(endTime);
    line += '\t';
    line += name;
    line += '\t';
    line += std::to_string(result);
    line += '\t';
    line += std::to_string(plies);
    line += "\r\n";
    return line;
}

bool AppendMatchLog(const std::filesystem::path& writeFolder, std::string_view line) {
    const std::filesystem::path path = writeFolder / kMatchLogPath;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    // Non-blocking, so that a FIFO in the log's place does not make us wait.
    constexpr int kFlags = O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(path.c_str(), O_RDWR | kFlags, 0666);
    // A log we may only write to is appended to without the repair below.
    if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_WRONLY | kFlags, 0666);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // A line cut short earlier (a full disk) gets its line end first, so that
    // this line is not glued onto it.
    std::string whole;
    char last = '\n';
    if (ok && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n') {
        whole = "\r\n";
    }
    whole += line;
    std::string_view rest = whole;
    while (ok && !rest.empty()) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) rest.remove_prefix(static_cast<std::size_t>(n));
    }
    // Whole lines or nothing: a write that stopped part way is taken back.
    if (!ok && S_ISREG(st.st_mode)) (void)::ftruncate(fd, st.st_size);
    return ::close(fd) == 0 && ok;
}

std::filesystem::path AutosavePath(const std::filesystem::path& folder, std::time_t now,
                                   int32_t renzoku) {
    const std::string stem = LocalStampText(now) + "_" + std::to_string(renzoku);
    std::filesystem::path path = folder / (stem + ".csa");
    std::error_code ec;
    for (int32_t n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n)
        path = folder / (stem + "-" + std::to_string(n) + ".csa");
    return path;
}

}  // namespace nusari
