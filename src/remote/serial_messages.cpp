// The serial transport's reading: one message of a "+", "-" or "%" and up
// to seven bytes, handled as a move or a special command.
#include "remote/csa_link.h"
#include "remote/remote_texts.h"
#include "ui/game_controller.h"

namespace nusari {

// A stray byte between messages costs one tick; a message is taken in as
// far as it has arrived and handled once it is complete or timed out.
PollResult CsaLink::pollSerial() {
    if (!framer_.midMessage()) {
        const std::optional<uint8_t> first = serial_.readByte();
        if (!first || !SerialFramer::IsMessageStart(*first)) return PollResult::Nothing;
        framer_.start(*first, clock());
        if (*first == '%') game_.PlaySound(Sound::Message);
    }
    std::optional<SerialMessage> message;
    while (!message) {
        const std::optional<uint8_t> byte = serial_.readByte();
        if (!byte) break;
        message = framer_.push(*byte);
    }
    if (!message) message = framer_.expire(clock());
    if (!message) return PollResult::Nothing;
    return handleSerialMessage(*message);
}

PollResult CsaLink::handleSerialMessage(const SerialMessage& message) {
    const std::string shown = message.first + message.bytes;
    const bool thinking = game_.gameState == GameState::ComputerThinking;
    if (message.first == '%') {
        // The message sound came with the "%".
        if (thinking) {
            game_.ui.notify(kThinkingError + shown);
            return PollResult::WhileThinking;
        }
        const SpecialCommand* command = FindSpecialCommand(message.bytes);
        if (command == nullptr) {
            game_.ui.notify(kProtocolError + shown);
            return PollResult::UnknownSpecial;
        }
        // The game ends (and is logged) before the user is told, in a box
        // that holds nothing up, or in the panel during a match.
        const bool inMatch = game_.renzoku != 0;
        perform(*command);
        if (!command->quietInMatch || !inMatch) {
            if (command->action == RemoteAction::TakeBack) {
                game_.ui.notify(command->message);
            } else {
                game_.tellAfterGame(command->message, inMatch);
            }
        }
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
