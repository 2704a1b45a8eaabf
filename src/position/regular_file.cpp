#include "position/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace nusari {

namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

FileRead readBytes(const std::string& path, std::size_t maxBytes, bool headOnly,
                   std::string& bytes, FileReadInfo& info) {
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        info.error = errno;
        return FileRead::CannotOpen;
    }
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) {
        info.error = errno;
        return FileRead::CannotOpen;
    }
    if (!S_ISREG(st.st_mode)) {
        info.error = S_ISDIR(st.st_mode) ? EISDIR : 0;
        return FileRead::NotRegular;
    }
    info.fileBytes = static_cast<uint64_t>(st.st_size);
    if (!headOnly && info.fileBytes > maxBytes) {
        info.error = EFBIG;
        return FileRead::TooLarge;
    }
    char chunk[65536];
    for (;;) {
        std::size_t want = sizeof chunk;
        if (headOnly) {
            want = std::min(want, maxBytes - bytes.size());
            if (want == 0) return FileRead::Ok;
        }
        const ssize_t got = ::read(file.get(), chunk, want);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            info.error = errno;
            return FileRead::ReadFailed;
        }
        if (got == 0) return FileRead::Ok;
        bytes.append(chunk, static_cast<std::size_t>(got));
        // A file that grows while it is read is not let grow without end.
        if (bytes.size() > maxBytes) {
            info.error = EFBIG;
            return FileRead::TooLarge;
        }
    }
}

FileRead readInto(const std::string& path, std::size_t maxBytes, bool headOnly,
                  std::string& bytes, FileReadInfo* info) {
    bytes.clear();
    FileReadInfo found;
    const FileRead result = readBytes(path, maxBytes, headOnly, bytes, found);
    if (result != FileRead::Ok) bytes.clear();
    if (info != nullptr) *info = found;
    return result;
}

}  // namespace

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                         FileReadInfo* info) {
    return readInto(path, maxBytes, false, bytes, info);
}

FileRead readRegularFileHead(const std::string& path, std::size_t maxBytes, std::string& bytes,
                             FileReadInfo* info) {
    return readInto(path, maxBytes, true, bytes, info);
}

std::string fileReadReason(FileRead result, int error) {
    switch (result) {
        case FileRead::Ok: return {};
        case FileRead::TooLarge: return "ファイルが大きすぎます";
        case FileRead::NotRegular:
            return error == EISDIR ? "フォルダです" : "通常のファイルではありません";
        case FileRead::CannotOpen:
        case FileRead::ReadFailed: break;
    }
    switch (error) {
        case ENOENT: return "ファイルがありません";
        case EACCES:
        case EPERM: return "読む権限がありません";
        case ELOOP: return "シンボリックリンクが循環しています";
        case EISDIR: return "フォルダです";
        case ENOTDIR: return "途中の名前がフォルダではありません";
        case EFBIG:
        case EOVERFLOW: return "ファイルが大きすぎます";
        case 0: return "読めません";
        default: return std::strerror(error);
    }
}

}  // namespace nusari
