// nusari-usi: any .aik engine as a USI engine on standard input and output.
// A reader thread takes the lines; "stop" and "quit" also end a running
// search at once through the search's continue flag. Everything else runs on
// the main thread, one command after the other.
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "usi_session.h"

namespace {

// The folder whose aik/ holds the default engine: the program's own, or
// <prefix>/share/nusari when the program is installed in <prefix>/bin.
std::filesystem::path programFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", ec);
    folder = ec ? std::filesystem::absolute(argv0).parent_path() : folder.parent_path();
    const std::filesystem::path installed = folder / ".." / "share" / "nusari";
    if (!std::filesystem::is_directory(folder / "aik", ec) &&
        std::filesystem::is_directory(installed / "aik", ec))
        return installed.lexically_normal();
    return folder;
}

}  // namespace

int main(int, char** argv) {
    std::ios::sync_with_stdio(false);
    // Reading must not flush the output: the reader thread would then touch
    // std::cout while the main thread writes it.
    std::cin.tie(nullptr);
    nusari::usi::UsiSession session(programFolder(argv[0]), std::cout);

    std::mutex mutex;
    std::condition_variable ready;
    std::deque<std::string> lines;
    bool inputClosed = false;

    std::thread reader([&] {
        std::string line;
        int64_t goLines = 0;  // "go" lines read so far: a stop belongs to the latest
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::string command;
            std::istringstream(line) >> command;
            const bool quit = command == "quit";
            if (command == "go") ++goLines;
            if (command == "stop" || quit) session.requestStop(goLines);
            {
                std::lock_guard<std::mutex> lock(mutex);
                lines.push_back(line);
            }
            ready.notify_one();
            if (quit) return;
        }
        session.requestStop(goLines);
        std::lock_guard<std::mutex> lock(mutex);
        inputClosed = true;
        ready.notify_one();
    });

    for (;;) {
        std::string line;
        {
            std::unique_lock<std::mutex> lock(mutex);
            ready.wait(lock, [&] { return !lines.empty() || inputClosed; });
            if (lines.empty()) break;
            line = std::move(lines.front());
            lines.pop_front();
        }
        if (!session.handle(line)) break;
    }
    reader.join();
    return 0;
}
