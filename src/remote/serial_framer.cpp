#include "remote/serial_framer.h"

namespace nusari {

void SerialFramer::start(uint8_t first, int64_t nowMs) {
    active_ = true;
    deadline_ = nowMs + kSerialReadTimeoutMs;
    message_.first = static_cast<char>(first);
    message_.bytes.clear();
}

std::optional<SerialMessage> SerialFramer::push(uint8_t byte) {
    if (!active_) return std::nullopt;
    message_.bytes += static_cast<char>(byte);
    if (byte == '\n' || message_.bytes.size() >= kSerialMessageBytes) return take();
    return std::nullopt;
}

std::optional<SerialMessage> SerialFramer::expire(int64_t nowMs) {
    if (!active_ || nowMs < deadline_) return std::nullopt;
    return take();
}

SerialMessage SerialFramer::take() {
    active_ = false;
    return std::move(message_);
}

}  // namespace nusari
