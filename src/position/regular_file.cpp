#include "position/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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
                   std::string& bytes) {
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return FileRead::CannotOpen;
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) return FileRead::CannotOpen;
    if (!S_ISREG(st.st_mode)) return FileRead::NotRegular;
    if (!headOnly && static_cast<unsigned long long>(st.st_size) > maxBytes)
        return FileRead::TooLarge;
    char chunk[65536];
    for (;;) {
        std::size_t want = sizeof chunk;
        if (headOnly) {
            want = std::min(want, maxBytes - bytes.size());
            if (want == 0) return FileRead::Ok;
        }
        const ssize_t got = ::read(file.get(), chunk, want);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return FileRead::ReadFailed;
        if (got == 0) return FileRead::Ok;
        bytes.append(chunk, static_cast<std::size_t>(got));
        // A file that grows while it is read is not let grow without end.
        if (bytes.size() > maxBytes) return FileRead::TooLarge;
    }
}

FileRead readInto(const std::string& path, std::size_t maxBytes, bool headOnly,
                  std::string& bytes) {
    bytes.clear();
    const FileRead result = readBytes(path, maxBytes, headOnly, bytes);
    if (result != FileRead::Ok) bytes.clear();
    return result;
}

}  // namespace

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    return readInto(path, maxBytes, false, bytes);
}

FileRead readRegularFileHead(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    return readInto(path, maxBytes, true, bytes);
}

}  // namespace nusari
