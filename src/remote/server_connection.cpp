#include "remote/server_connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace nusari {

namespace {

constexpr int kSendWaitMs = 1000;

// The first IPv4 address of a name, with the host entry written to `trace`.
std::optional<in_addr> lookUp(const std::string& host, std::ostream& trace) {
    hostent entry{};
    hostent* found = nullptr;
    int error = 0;
    std::vector<char> buffer(8192);
    while (::gethostbyname_r(host.c_str(), &entry, buffer.data(), buffer.size(), &found,
                             &error) == ERANGE &&
           buffer.size() < (1u << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (found == nullptr || found->h_addrtype != AF_INET || found->h_addr_list[0] == nullptr) {
        return std::nullopt;
    }
    trace << "公式名 = " << found->h_name << "\n";
    for (char** alias = found->h_aliases; *alias != nullptr; ++alias) {
        trace << "別名 = " << *alias << "\n";
    }
    for (char** a = found->h_addr_list; *a != nullptr; ++a) {
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, *a, text, sizeof text);
        trace << "IP = " << text << "\n";
    }
    trace.flush();
    in_addr address{};
    std::copy_n(found->h_addr_list[0], sizeof address, reinterpret_cast<char*>(&address));
    return address;
}

bool waitFor(int fd, short events, int32_t waitMs) {
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, waitMs) > 0;
}

}  // namespace

ServerConnection::~ServerConnection() {
    close();
}

bool ServerConnection::begin(const std::string& host, int32_t port, std::ostream& trace) {
    close();
    in_addr address{};
    if (::inet_pton(AF_INET, host.c_str(), &address) != 1) {
        const std::optional<in_addr> found = lookUp(host, trace);
        if (!found) return false;
        address = *found;
    }
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
    // One short line at a time, each awaited by the other side: no delay.
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr = address;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0 &&
        errno != EINPROGRESS) {
        close();
        return false;
    }
    return true;
}

ServerConnection::Status ServerConnection::connected(int32_t waitMs) {
    if (fd_ < 0) return Status::Failed;
    if (!waitFor(fd_, POLLOUT, waitMs)) return Status::Pending;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
        return Status::Failed;
    }
    return Status::Ready;
}

void ServerConnection::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    lines_.clear();
}

ServerConnection::Status ServerConnection::receive(std::size_t maxBytes) {
    if (fd_ < 0) return Status::Failed;
    char buffer[16384];
    std::size_t taken = 0;
    while (taken < maxBytes) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            lines_.append(std::string_view(buffer, static_cast<std::size_t>(n)));
            taken += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) break;
        // Closed or broken: what came before it is handled first.
        return taken > 0 ? Status::Ready : Status::Failed;
    }
    return taken > 0 ? Status::Ready : Status::Pending;
}

void ServerConnection::waitForBytes(int32_t waitMs) {
    if (fd_ >= 0) waitFor(fd_, POLLIN, waitMs);
}

bool ServerConnection::send(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!waitFor(fd_, POLLOUT, kSendWaitMs)) return false;
        } else {
            return false;
        }
    }
    return fd_ >= 0;
}

}  // namespace nusari
