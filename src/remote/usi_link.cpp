#include "remote/usi_link.h"

#include "game/game_host.h"
#include "game/usi_player.h"
#include "position/position.h"
#include "position/text_encoding.h"
#include "settings/usi_engines.h"
#include "think/clock.h"
#include "usi/usi_game.h"
#include "usi/usi_texts.h"

namespace nusari {

UsiLink::UsiLink(GameHost& game) : game_(game) {}

UsiLink::~UsiLink() {
    CloseLink();
}

int32_t UsiLink::OpenLink(const std::string& portName) {
    CloseLink();
    const std::string name = UsiEngineName(portName).value_or("");
    const UsiEngineEntry* entry = FindUsiEngine(game_.RegisteredUsiEngines(), name);
    if (entry == nullptr) {
        game_.PlaySound(Sound::Message);
        showError(game_.Reporter(), kUsiNotRegistered + name);
        return -1;
    }
    EngineCommand command;
    UsiCommandOf(*entry, command);
    name_ = entry->name;
    auto engine = std::make_unique<UsiEngine>(std::move(command), game_.UsiHandshakeMs());
    // Only the start and the ready check wait, serving the window's events.
    engine->whileWaiting = [this] { game_.Reporter().pumpMessages(); };
    std::string error;
    const uint32_t closings = closings_;
    if (!engine->start(error)) {
        game_.PlaySound(Sound::Message);
        showError(game_.Reporter(), kUsiStartFailed + name_ + "\n" + error);
        return -1;
    }
    // The window was closed (or the link closed) while the engine started.
    if (closings != closings_) return -1;
    engine->whileWaiting = nullptr;
    engine_ = std::move(engine);
    newGamePending_ = true;
    thinking_ = false;
    return 1;
}

void UsiLink::CloseLink() {
    ++closings_;
    if (engine_) engine_->stop();
    engine_.reset();
    thinking_ = false;
    readying_ = false;
    dropAnswers();
}

void UsiLink::NamePlayers(GameRecord& record) {
    if (!engine_) return;
    setName(record.boardTurned != 0 ? record.secondName : record.firstName, toCp932(name_));
}

void UsiLink::GameEnded(int32_t result) {
    dropAnswers();
    if (!engine_) return;
    stopThinking();
    readying_ = false;
    // The engine plays the lower side: result 1 is its win.
    engine_->gameOver(result == 1 ? "win" : result == 2 ? "lose" : "draw");
    newGamePending_ = true;
}

// A new game begins with "isready"; once "readyok" has come (the answers
// of stopped thinks come before it), "usinewgame" and the first think.
bool UsiLink::readyForGame() {
    if (!newGamePending_) return true;
    if (!readying_) {
        if (!engine_->sendNewGame()) {
            engineGone();
            return false;
        }
        readying_ = true;
        readyDeadlineMs_ = nowMs() + game_.UsiHandshakeMs();
        return false;
    }
    switch (engine_->pollNewGame()) {
        case UsiEngine::NewGameState::Ready:
            readying_ = false;
            newGamePending_ = false;
            staleAnswers_ = 0;
            return true;
        case UsiEngine::NewGameState::Exited:
            engineGone();
            return false;
        case UsiEngine::NewGameState::Pending:
            break;
    }
    if (nowMs() > readyDeadlineMs_) engineGone();
    return false;
}

void UsiLink::beginThink() {
    const EngineState& e = game_.Engine();
    if (!readyForGame()) return;
    const int32_t ply = game_.Fields().plyCount;
    const UsiGo go = UsiGoCommand(game_.Record(), ply, e.timeLimitMs, e.csaTimeMode == 1);
    goCommand_ = go.command;
    // While the answer of a stopped think is still to come, this think is
    // asked for once it has come.
    if (staleAnswers_ == 0 &&
        !engine_->sendThink(UsiPositionCommand(game_.Record(), ply), go.command)) {
        return engineGone();
    }
    thinking_ = true;
    thinkPly_ = ply;
    deadlineMs_ = nowMs() + go.waitMs;
}

void UsiLink::PollLink() {
    if (polling_ || !engine_ || game_.CurrentState() != GameState::LowerToMove) return;
    polling_ = true;
    // A takeback meanwhile leaves the engine thinking about another position.
    if (thinking_ && thinkPly_ != game_.Fields().plyCount) stopThinking();
    if (!thinking_) {
        beginThink();
    } else {
        const UsiEngine::Answer answer = engine_->pollThink(0);
        if (answer.kind == UsiEngine::Answer::Kind::Word && staleAnswers_ > 0) {
            // The answer to a think that was stopped.
            --staleAnswers_;
            engine_->sendThink(UsiPositionCommand(game_.Record(), thinkPly_), goCommand_);
        } else if (answer.kind != UsiEngine::Answer::Kind::NoAnswer) {
            thinking_ = false;
            judgeAnswer(answer);
        } else if (nowMs() > deadlineMs_) {
            stopThinking();
            queueAnswer(PlayerAnswer::with(PlayerAnswer::Kind::NoAnswer));
        }
    }
    polling_ = false;
}

void UsiLink::stopThinking() {
    if (!thinking_) return;
    thinking_ = false;
    engine_->requestStop();
    ++staleAnswers_;
}

void UsiLink::judgeAnswer(const UsiEngine::Answer& answer) {
    if (answer.kind == UsiEngine::Answer::Kind::Exited) return engineGone();
    const std::optional<PlayerAnswer> judged = usiAnswer(answer, [this](const std::string& word) {
        return UsiReplyMove(game_.Record(), game_.Fields().currentPosition, Side::Lower, word);
    });
    if (judged) queueAnswer(*judged);
}

void UsiLink::engineGone() {
    thinking_ = false;
    // The game stops without a result; the record stays. Closing the link
    // (leaving the game does) ends what is left of the process.
    queueAnswer(PlayerAnswer::with(PlayerAnswer::Kind::Gone));
}

}  // namespace nusari
