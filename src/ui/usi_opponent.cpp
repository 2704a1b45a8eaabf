#include "ui/usi_opponent.h"

#include "ui/usi_game.h"

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
    engine_->onInfo = [&](const EngineLine& line) {
        if (!line.hasScore && line.pv.empty()) return;
        thinkUi.setPanelText(UsiInfoText(name_, line, record, plies));
    };
    const UsiGo go = UsiGoCommand(record, plies, limitMs, csaTimeMode);
    const UsiEngine::Answer answer = engine_->think(UsiPositionCommand(record, plies), go.command, go.waitMs);
    engine_->stopWanted = nullptr;
    engine_->onInfo = nullptr;
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

std::string UsiInfoText(const std::string& name, const EngineLine& line, const GameRecord& record,
                        int32_t plies) {
    std::string text = name;
    if (line.depth >= 0) text += "\n深さ " + std::to_string(line.depth);
    if (line.hasScore) {
        text += "\n評価値 ";
        if (line.score >= kMateScore - 1000) {
            text += "詰み " + std::to_string(kMateScore - line.score) + "手";
        } else if (line.score <= -kMateScore + 1000) {
            text += "被詰み " + std::to_string(kMateScore + line.score) + "手";
        } else {
            text += std::to_string(line.score);
        }
    }
    if (line.nodes >= 0) text += "\nノード数 " + std::to_string(line.nodes);
    const std::string pv = UsiVariationText(record, plies, line.pv);
    if (!pv.empty()) text += "\n読み筋 " + pv;
    return text;
}

}  // namespace nusari
