// A child process spoken to line by line through pipes (USI engines).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace nusari {

class ChildProcess {
public:
    // Starts `argv[0]` (looked up in PATH when it has no slash) with the
    // arguments; running() tells whether it worked.
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running() const { return pid_ > 0; }
    bool writeLine(const std::string& line);
    // The next line (without its line end), or false after timeoutMs or at
    // the end of the output. A line longer than kMaxLineBytes comes in
    // pieces of that size.
    bool readLine(std::string& line, int64_t timeoutMs);
    // True once the child's output has ended: it exited or closed it.
    bool outputEnded() const { return eof_ && buffer_.empty(); }
    // Closes the input and waits up to timeoutMs for the exit; returns the
    // exit status, or -1 when it had to be killed.
    int finish(int64_t timeoutMs);

    // How the child stands once its output has ended: still running (it
    // closed its output only), exited with a status, or ended by a signal.
    struct Ending {
        enum class Kind { Running, Exited, Signalled };
        Kind kind = Kind::Running;
        int code = 0;  // the exit status or the signal
    };
    // Waits up to graceMs for the exit that follows the end of the output
    // (the pipe closes a moment before the process can be waited for).
    Ending ending(int64_t graceMs);
    // "closed its output", "exited (status 3)", "exited (signal 9)".
    static std::string describe(const Ending& ending);

    static constexpr size_t kMaxLineBytes = 65536;

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;
    bool eof_ = false;
    bool reaped_ = false;  // waited for by ending(): finish must not wait again
    Ending ended_;
};

}  // namespace nusari
