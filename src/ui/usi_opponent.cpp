#include "ui/usi_opponent.h"

#include "think/clock.h"
#include "usi/usi_game.h"

namespace nusari {

UsiOpponent::UsiOpponent(const UsiEngineEntry& entry, int64_t handshakeMs)
    : name_(entry.name) {
    EngineCommand command;
    UsiCommandOf(entry, command);
    engine_ = std::make_unique<UsiEngine>(std::move(command), handshakeMs);
}

// "quit", and the process is ended when it does not exit.
UsiOpponent::~UsiOpponent() {
    engine_->stop();
}

bool UsiOpponent::Start(Ui& ui, std::string& error) {
    engine_->whileWaiting = [&ui] { ui.pumpMessages(); };
    const bool started = engine_->start(error);
    engine_->whileWaiting = nullptr;
    newGamePending_ = true;
    return started;
}

UsiReply UsiOpponent::Think(const GameRecord& record, int32_t plies, const Position& board,
                            int32_t limitMs, bool csaTimeMode, const std::atomic<uint8_t>& stop,
                            Ui& thinkUi) {
    UsiReply reply;
    if (engine_->broken()) return reply;
    if (newGamePending_) {
        std::string error;
        if (!engine_->newGame(error)) return reply;
        newGamePending_ = false;
    }
    engine_->stopWanted = [&stop] { return stop.load() != 0; };
    UsiInfoPanel panel(name_, record, plies, thinkUi, nowMs);
    engine_->onInfo = [&panel](const EngineLine& line) { panel.take(line); };
    engine_->whileWaiting = [&panel] { panel.tick(); };
    const UsiGo go = UsiGoCommand(record, plies, limitMs, csaTimeMode);
    const UsiEngine::Answer answer = engine_->think(UsiPositionCommand(record, plies), go.command, go.waitMs);
    engine_->stopWanted = nullptr;
    engine_->onInfo = nullptr;
    engine_->whileWaiting = nullptr;
    panel.finish();
    reply.ms = answer.ms;
    if (stop.load() != 0) {
        reply.kind = UsiReply::Kind::Stopped;
        return reply;
    }
    switch (answer.kind) {
        case UsiEngine::Answer::Kind::Exited:
            return reply;
        case UsiEngine::Answer::Kind::NoAnswer:
            // Asked to stop, it may still answer; an engine that does not
            // is ended.
            engine_->settle(kUsiAnswerMarginMs);
            reply.kind = UsiReply::Kind::TimeUp;
            return reply;
        case UsiEngine::Answer::Kind::Word:
            break;
    }
    reply.word = answer.word;
    if (answer.word == "resign") {
        reply.kind = UsiReply::Kind::Resign;
    } else if (answer.word == "win") {
        reply.kind = UsiReply::Kind::Win;
    } else if (const std::optional<Move> m = UsiReplyMove(record, board, Side::Upper, answer.word)) {
        reply.kind = UsiReply::Kind::Move;
        reply.move = *m;
    } else {
        reply.kind = UsiReply::Kind::Illegal;
    }
    return reply;
}

void UsiOpponent::GameOver(const char* result) {
    engine_->gameOver(result);
    newGamePending_ = true;
}

}  // namespace nusari
