// The serial transport: bytes from the line cut into messages by the framer
// as the link's poll does, then read as moves or special words. The first
// byte chooses who moves first; a 0xFF byte (never part of a CSA message)
// stands for a pause longer than the read timeout.
#include "remote/serial_framer.h"
#include "remote_checks.h"

namespace {

using namespace nusari;

void handle(fuzz::RemoteGame& game, const SerialMessage& message) {
    FUZZ_CHECK(SerialFramer::IsMessageStart(static_cast<uint8_t>(message.first)));
    FUZZ_CHECK(message.bytes.size() <= kSerialMessageBytes);
    if (message.first == '%') {
        fuzz::RemoteGame::specialWord(message.bytes);
    } else if (message.bytes.size() == kSerialMessageBytes) {
        game.moveBody(message.bytes);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    fuzz::RemoteGame game((data[0] & 1) != 0);
    SerialFramer framer;
    int64_t now = 0;
    for (std::size_t i = 1; i < size; ++i) {
        const uint8_t byte = data[i];
        if (byte == 0xFF) {
            now += kSerialReadTimeoutMs;
            if (const auto message = framer.expire(now)) handle(game, *message);
            continue;
        }
        now += 1;
        if (!framer.midMessage()) {
            if (SerialFramer::IsMessageStart(byte)) framer.start(byte, now);
            continue;
        }
        if (const auto message = framer.push(byte)) handle(game, *message);
    }
    if (const auto message = framer.expire(now + kSerialReadTimeoutMs)) handle(game, *message);
    return 0;
}
