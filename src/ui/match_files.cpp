#include "ui/match_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
    const int fd = ::open(path.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    while (ok && !line.empty()) {
        const ssize_t n = ::write(fd, line.data(), line.size());
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) line.remove_prefix(static_cast<std::size_t>(n));
    }
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
