#include "pty_pair.h"

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace nusari::test {

namespace {

// Generous bounds for the kernel to move bytes across the pair; the tests
// never depend on how long it takes.
constexpr int kArrivalTries = 5000;
constexpr int kLineWaitMs = 5000;

}  // namespace

PtyPair::PtyPair() {
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    path_ = ::ttyname(slave_);
}

PtyPair::~PtyPair() {
    ::close(master_);
    ::close(slave_);
}

void PtyPair::write(std::string_view bytes) {
    // XON and XOFF are taken by the line itself and never arrive.
    int expected = waiting();
    for (const char c : bytes) expected += (c == 0x11 || c == 0x13) ? 0 : 1;
    while (!bytes.empty()) {
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        if (n <= 0) throw std::runtime_error("pty write failed");
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    for (int i = 0; i < kArrivalTries && waiting() < expected; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int PtyPair::waiting() const {
    int n = 0;
    ::ioctl(slave_, FIONREAD, &n);
    return n;
}

std::string PtyPair::readLine() {
    std::string line;
    while (line.empty() || line.back() != '\n') {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, kLineWaitMs) <= 0) return line;
        char c = 0;
        if (::read(master_, &c, 1) != 1) return line;
        line += c;
    }
    return line;
}

std::string PtyPair::drain() {
    std::string bytes;
    for (;;) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0) return bytes;
        char buffer[256];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace nusari::test
