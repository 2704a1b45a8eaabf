#include "usi/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>

#include "think/clock.h"

namespace nusari {

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a dead child must not kill the caller
    int in[2];
    int out[2];
    if (argv.empty() || pipe2(in, O_CLOEXEC) != 0) return;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (rc != 0) {
        close(in[1]);
        close(out[0]);
        return;
    }
    pid_ = pid;
    toChild_ = in[1];
    fromChild_ = out[0];
}

ChildProcess::~ChildProcess() { finish(2000); }

bool ChildProcess::writeLine(const std::string& line) {
    if (toChild_ < 0) return false;
    const std::string text = line + "\n";
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(toChild_, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ChildProcess::readLine(std::string& line, int64_t timeoutMs) {
    const int64_t deadline = nowMs() + timeoutMs;
    for (;;) {
        size_t end = buffer_.find('\n');
        if (end == std::string::npos && (buffer_.size() >= kMaxLineBytes || (eof_ && !buffer_.empty()))) {
            // An overlong line or a last line without its end.
            end = std::min(buffer_.size(), kMaxLineBytes);
            line = buffer_.substr(0, end);
            buffer_.erase(0, end);
            return true;
        }
        if (end != std::string::npos) {
            line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        if (eof_ || fromChild_ < 0) return false;
        // A timeout of 0 still reads what the child has written already.
        const int64_t left = std::max<int64_t>(0, deadline - nowMs());
        pollfd fd{fromChild_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left)) <= 0) {
            if (left == 0) return false;
            continue;
        }
        char chunk[4096];
        const ssize_t n = read(fromChild_, chunk, sizeof chunk);
        if (n <= 0) {
            eof_ = true;
        } else {
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }
}

ChildProcess::Ending ChildProcess::ending(int64_t graceMs) {
    if (reaped_ || pid_ <= 0) return ended_;
    const int64_t deadline = nowMs() + graceMs;
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            reaped_ = true;
            ended_.kind = WIFSIGNALED(status) ? Ending::Kind::Signalled : Ending::Kind::Exited;
            ended_.code = WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status);
            return ended_;
        }
        if (nowMs() >= deadline) return Ending{};
        usleep(5000);
    }
}

std::string ChildProcess::describe(const Ending& ending) {
    switch (ending.kind) {
        case Ending::Kind::Running: return "closed its output";
        case Ending::Kind::Exited: return "exited (status " + std::to_string(ending.code) + ")";
        case Ending::Kind::Signalled: return "exited (signal " + std::to_string(ending.code) + ")";
    }
    return "exited";
}

int ChildProcess::finish(int64_t timeoutMs) {
    if (pid_ <= 0) return -1;
    if (toChild_ >= 0) close(toChild_);
    toChild_ = -1;
    const int64_t deadline = nowMs() + timeoutMs;
    int status = 0;
    int result = -1;
    if (reaped_) result = ended_.kind == Ending::Kind::Exited ? ended_.code : -1;
    while (!reaped_) {
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            result = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (nowMs() >= deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        usleep(5000);
    }
    if (fromChild_ >= 0) close(fromChild_);
    fromChild_ = -1;
    pid_ = -1;
    return result;
}

}  // namespace nusari
