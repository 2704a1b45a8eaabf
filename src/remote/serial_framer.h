// Cuts the serial byte stream into messages without waiting: a message is
// a "+", "-" or "%" and up to seven bytes after it, complete with the
// seventh byte, with a line feed, or when the read timeout has passed since
// its first byte. Bytes outside a message are dropped by the caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace nusari {

inline constexpr int32_t kSerialReadTimeoutMs = 300;
inline constexpr std::size_t kSerialMessageBytes = 7;  // after the first byte

struct SerialMessage {
    char first = 0;     // '+', '-' or '%'
    std::string bytes;  // what followed, at most seven bytes
};

class SerialFramer {
  public:
    static bool IsMessageStart(uint8_t byte) { return byte == '+' || byte == '-' || byte == '%'; }

    bool midMessage() const { return active_; }
    // Begins a message with its first byte, read at `nowMs`.
    void start(uint8_t first, int64_t nowMs);
    // Adds a byte of the message begun; the message once it is complete.
    std::optional<SerialMessage> push(uint8_t byte);
    // The message begun, short, once the read timeout has passed.
    std::optional<SerialMessage> expire(int64_t nowMs);
    void reset() { active_ = false; }

  private:
    SerialMessage take();

    bool active_ = false;
    int64_t deadline_ = 0;
    SerialMessage message_;
};

}  // namespace nusari
