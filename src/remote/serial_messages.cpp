// The serial transport's reading: one message of a "+", "-" or "%" and up
// to seven bytes, handled as a move or a special command.
#include "game/game_host.h"
#include "remote/csa_link.h"
#include "remote/remote_texts.h"

namespace nusari {

namespace {

// The most bytes one tick reads from the line: a burst of noise is worked
// off in a few ticks while the window goes on.
constexpr int32_t kMaxSerialBytesPerTick = 4096;

bool endsTheTick(PollResult r) {
    return r == PollResult::MovePlayed || r == PollResult::SpecialHandled;
}

}  // namespace

// Stray bytes between messages are skipped; a message is taken in as far
// as it has arrived and handled once it is complete or timed out. A tick
// goes on past refused messages, up to the remote's move or the game's end.
PollResult CsaLink::pollSerial() {
    PollResult outcome = PollResult::Nothing;
    for (int32_t budget = kMaxSerialBytesPerTick; budget > 0;) {
        if (!framer_.midMessage()) {
            const std::optional<uint8_t> first = serial_.readByte();
            if (!first) break;
            --budget;
            if (!SerialFramer::IsMessageStart(*first)) continue;
            framer_.start(*first, clock());
            if (*first == '%') game_.PlaySound(Sound::Message);
        }
        std::optional<SerialMessage> message;
        while (!message && budget > 0) {
            const std::optional<uint8_t> byte = serial_.readByte();
            if (!byte) break;
            --budget;
            message = framer_.push(*byte);
        }
        if (!message) message = framer_.expire(clock());
        if (!message) break;
        outcome = handleSerialMessage(*message);
        if (endsTheTick(outcome) || game_.CurrentState() != GameState::LowerToMove) break;
    }
    return outcome;
}

PollResult CsaLink::handleSerialMessage(const SerialMessage& message) {
    const std::string shown = message.first + message.bytes;
    const bool thinking = game_.CurrentState() == GameState::ComputerThinking;
    if (message.first == '%') {
        // The message sound came with the "%".
        if (thinking) return refuse(kThinkingError, shown, PollResult::WhileThinking, true);
        const SpecialCommand* command = FindSpecialCommand(message.bytes);
        if (command == nullptr) {
            return refuse(kProtocolError, shown, PollResult::UnknownSpecial, true);
        }
        const bool quiet = command->quietInMatch && game_.InMatch();
        perform(*command, quiet ? std::string() : std::string(command->message));
        return PollResult::SpecialHandled;
    }
    if (thinking) return refuse(kThinkingError, shown, PollResult::WhileThinking);
    // A line cut short is never read past what arrived.
    if (message.bytes.size() < kSerialMessageBytes) {
        return refuse(kProtocolError, shown, PollResult::Malformed);
    }
    return playRemoteMove(message.bytes, shown);
}

}  // namespace nusari
