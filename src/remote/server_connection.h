// The one TCP connection to the game server, on a non-blocking socket: the
// link waits for it in short slices and lets the window work in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "remote/line_assembler.h"

namespace nusari {

class ServerConnection {
  public:
    enum class Status : int32_t { Ready, Pending, Failed };

    ServerConnection() = default;
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // Finds the host (a dotted address, or a name whose host entry is
    // written to `trace`) and begins to connect; false when the name is
    // unknown or no socket can be made.
    bool begin(const std::string& host, int32_t port, std::ostream& trace);
    // Whether the connection begun is made, waiting at most `waitMs`.
    Status connected(int32_t waitMs);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Takes in what has arrived, at most about `maxBytes`, without waiting:
    // Ready when bytes came, Pending when none did, Failed when the server
    // closed the connection or the receive failed.
    Status receive(std::size_t maxBytes);
    // Waits at most `waitMs` for bytes to arrive.
    void waitForBytes(int32_t waitMs);
    std::optional<std::string> takeLine() { return lines_.takeLine(); }
    std::size_t waitingLines() const { return lines_.waitingLines(); }
    // Sends all the bytes (waiting briefly if the socket is full); false
    // when the connection is gone.
    bool send(std::string_view bytes);

  private:
    int fd_ = -1;
    LineAssembler lines_;
};

}  // namespace nusari
