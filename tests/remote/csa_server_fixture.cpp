#include "csa_server_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace nusari::test {

namespace {

constexpr int kLineWaitMs = 5000;

}  // namespace

CsaServerFixture::CsaServerFixture() : summary(EvenGameSummary('-')) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof at;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&at), size) != 0 ||
        ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size) != 0) {
        throw std::runtime_error("no loopback listener");
    }
    port_ = ntohs(at.sin_port);
}

CsaServerFixture::~CsaServerFixture() {
    closeClient();
    ::close(listener_);
}

void CsaServerFixture::serve() {
    const int accepted = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (accepted >= 0) {
        closeClient();
        client_ = accepted;
        const int on = 1;
        ::setsockopt(client_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    for (;;) {
        if (client_ < 0) return;
        pollfd p{client_, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0) return;
        char buffer[512];
        const ssize_t n = ::recv(client_, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        take(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
}

void CsaServerFixture::take(std::string_view bytes) {
    received += bytes;
    for (const char c : bytes) {
        if (c == '\0') continue;
        partial_ += c;
        if (c != '\n') continue;
        const std::string line = std::move(partial_);
        partial_.clear();
        answer(line);
    }
}

void CsaServerFixture::answer(const std::string& line) {
    if (line.rfind("LOGIN ", 0) == 0) {
        if (!answerLogin) return;
        const std::size_t nameEnd = line.find(' ', 6);
        std::string reply = loginReply.empty()
                                ? "LOGIN:" + line.substr(6, nameEnd - 6) + " OK\n"
                                : loginReply + "\n";
        reply += "BEGIN Game_Summary\n";
        for (const std::string& s : summary) reply += s + "\n";
        sendWithoutEcho(reply + "END Game_Summary\n");
    } else if (line == "AGREE\n") {
        sendWithoutEcho(agreeReply + "\n");
    } else {
        if (line[0] == '+' || line[0] == '-') sendWithoutEcho(line.substr(0, line.size() - 1) + ",T1\n");
        lines_.push_back(line);
    }
}

void CsaServerFixture::send(std::string_view bytes) {
    serve();
    sendWithoutEcho(bytes);
}

void CsaServerFixture::sendWithoutEcho(std::string_view bytes) {
    while (client_ >= 0 && !bytes.empty()) {
        const ssize_t n = ::send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) throw std::runtime_error("fixture send failed");
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::string CsaServerFixture::readLine() {
    while (lines_.empty()) {
        if (client_ < 0) return {};
        pollfd p{client_, POLLIN, 0};
        if (::poll(&p, 1, kLineWaitMs) <= 0) return {};
        const std::size_t before = received.size();
        serve();
        if (received.size() == before) return {};
    }
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

void CsaServerFixture::closeClient() {
    if (client_ >= 0) ::close(client_);
    client_ = -1;
    partial_.clear();
    lines_.clear();
    received.clear();
}

std::vector<std::string> EvenGameSummary(char turn) {
    return {"Protocol_Version:1.2",
            "Protocol_Mode:Server",
            "Format:Shogi 1.0",
            "Game_ID:20240611-test",
            "Name+:first",
            "Name-:second",
            std::string("Your_Turn:") + turn,
            "Rematch_On_Draw:NO",
            "To_Move:+",
            "BEGIN Time",
            "Time_Unit:1sec",
            "Total_Time:600",
            "Byoyomi:10",
            "END Time",
            "BEGIN Position",
            "P1-KY-KE-GI-KI-OU-KI-GI-KE-KY",
            "P2 * -HI *  *  *  *  * -KA * ",
            "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU",
            "P4 *  *  *  *  *  *  *  *  * ",
            "P5 *  *  *  *  *  *  *  *  * ",
            "P6 *  *  *  *  *  *  *  *  * ",
            "P7+FU+FU+FU+FU+FU+FU+FU+FU+FU",
            "P8 * +KA *  *  *  *  * +HI * ",
            "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY",
            "+",
            "END Position"};
}

}  // namespace nusari::test
