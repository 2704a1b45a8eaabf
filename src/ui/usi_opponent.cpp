#include "ui/usi_opponent.h"

#include "game/usi_player.h"
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

std::optional<PlayerAnswer> UsiOpponent::Think(const GameRecord& record, int32_t plies, const Position& board,
                                               const UsiGo& go, const std::atomic<uint8_t>& stop, Ui& thinkUi) {
    const PlayerAnswer gone = PlayerAnswer::with(PlayerAnswer::Kind::Gone);
    if (engine_->broken()) return gone;
    if (newGamePending_) {
        std::string error;
        if (!engine_->newGame(error)) return gone;
        newGamePending_ = false;
    }
    engine_->stopWanted = [&stop] { return stop.load() != 0; };
    UsiInfoPanel panel(name_, record, plies, thinkUi, nowMs);
    engine_->onInfo = [&panel](const EngineLine& line) { panel.take(line); };
    engine_->whileWaiting = [&panel] { panel.tick(); };
    const UsiEngine::Answer answer = engine_->think(UsiPositionCommand(record, plies), go.command, go.waitMs);
    engine_->stopWanted = nullptr;
    engine_->onInfo = nullptr;
    engine_->whileWaiting = nullptr;
    panel.finish();
    if (stop.load() != 0) return std::nullopt;
    if (answer.kind == UsiEngine::Answer::Kind::NoAnswer) {
        // Asked to stop, it may still answer; an engine that does not is ended.
        engine_->settle(kAnswerMarginMs);
        PlayerAnswer late = PlayerAnswer::with(PlayerAnswer::Kind::NoAnswer);
        late.ms = answer.ms;
        return late;
    }
    return usiAnswer(answer, [&](const std::string& word) { return UsiReplyMove(record, board, Side::Upper, word); });
}

void UsiOpponent::GameOver(const char* result) {
    engine_->gameOver(result);
    newGamePending_ = true;
}

}  // namespace nusari
