// A CSA game server for the tests, on a loopback port, served from the
// test's own thread: while the link waits during its login it pumps the
// Ui, whose hook calls serve(). It answers LOGIN with the summary and
// AGREE with START, sends the client's moves back with a time as a real
// server does, and keeps every byte the client sent.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace nusari::test {

class CsaServerFixture {
  public:
    CsaServerFixture();
    ~CsaServerFixture();
    CsaServerFixture(const CsaServerFixture&) = delete;
    CsaServerFixture& operator=(const CsaServerFixture&) = delete;

    int32_t port() const { return port_; }

    // The lines between "BEGIN Game_Summary" and "END Game_Summary".
    std::vector<std::string> summary;
    // The answer to LOGIN; empty: "LOGIN:<name> OK". `answerLogin` false
    // leaves the client waiting.
    std::string loginReply;
    bool answerLogin = true;
    std::string agreeReply = "START:20240611-test";

    // Accepts a new client, reads what it sent and answers LOGIN and AGREE.
    void serve();
    // Sends after taking in (and answering) what the client has sent, so
    // the echo of its move comes before the bytes, as from a real server.
    void send(std::string_view bytes);
    // Sends at once: bytes the server sent before the client's last line.
    void sendWithoutEcho(std::string_view bytes);
    // The next line the client sent, zero bytes removed, waiting for it;
    // empty when none comes.
    std::string readLine();
    void closeClient();

    // Every byte the current client sent, as it came.
    std::string received;

  private:
    void take(std::string_view bytes);
    void answer(const std::string& line);

    int listener_ = -1;
    int client_ = -1;
    int32_t port_ = 0;
    std::string partial_;
    std::deque<std::string> lines_;
};

// The summary of an even game in which the client moves as `turn`.
std::vector<std::string> EvenGameSummary(char turn);

}  // namespace nusari::test
