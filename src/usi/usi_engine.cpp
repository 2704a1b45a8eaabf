#include "usi/usi_engine.h"

#include <algorithm>

#include "usi/joined_text.h"
#include "think/clock.h"

namespace nusari {

bool splitCommandLine(const std::string& text, std::vector<std::string>& argv) {
    argv.clear();
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (const char c : text) {
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else {
                word += c;
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) argv.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) argv.push_back(word);
    return quote == 0 && !argv.empty();
}

bool parseOptionText(const std::string& text, std::pair<std::string, std::string>& option) {
    const size_t equals = text.find('=');
    if (equals == 0 || equals == std::string::npos) return false;
    option = {text.substr(0, equals), text.substr(equals + 1)};
    return true;
}

UsiEngine::UsiEngine(EngineCommand command, int64_t handshakeMs)
    : command_(std::move(command)), handshakeMs_(handshakeMs) {}

std::string UsiEngine::name() const {
    if (!command_.name.empty()) return command_.name;
    if (!idName_.empty()) return idName_;
    return command_.argv.empty() ? std::string("?") : command_.argv[0];
}

namespace {

constexpr int64_t kSliceMs = 20;
constexpr size_t kMaxAnnouncedOptions = 500;
constexpr int kMaxLinesPerPoll = 10000;
// How long one poll may go on reading lines that keep coming, beyond the
// wait it was given: a caller on the window's thread gets it back soon.
constexpr int64_t kPollReadMs = 5;

}  // namespace

bool UsiEngine::readBefore(std::string& text, int64_t deadline) {
    for (;;) {
        // An engine that writes without pause must not keep the window's
        // events waiting: they are served at least once a slice.
        if (whileWaiting && nowMs() - lastServedMs_ >= kSliceMs) {
            whileWaiting();
            lastServedMs_ = nowMs();
        }
        const int64_t left = deadline - nowMs();
        const int64_t slice = whileWaiting ? std::min(left, kSliceMs) : left;
        if (process_->readLine(text, std::max<int64_t>(0, slice))) return true;
        if (process_->outputEnded() || nowMs() >= deadline) return false;
    }
}

// What a line of the start or of a think tells.
void UsiEngine::take(const EngineLine& line) {
    if (line.kind == EngineLine::Kind::IdName) idName_ = line.word;
    if (line.kind == EngineLine::Kind::Info) {
        if (line.hasScore) {
            answer_.hasScore = true;
            answer_.score = line.score;
        }
        if (onInfo) onInfo(line);
    }
}

// Reads lines until one of `kind`; false on a timeout or the end of the
// output, with a message.
bool UsiEngine::waitFor(EngineLine::Kind kind, int64_t timeoutMs, std::string& error) {
    const int64_t deadline = nowMs() + timeoutMs;
    std::string text;
    while (readBefore(text, deadline)) {
        const EngineLine line = parseEngineLine(text);
        take(line);
        if (line.kind == EngineLine::Kind::Option && announced_.size() < kMaxAnnouncedOptions) {
            UsiOption option;
            if (parseUsiOption(text, option)) announced_.push_back(std::move(option));
        }
        if (line.kind == kind) return true;
    }
    error = name();
    error += process_->outputEnded() ? " exited" : " did not answer in time";
    broken_ = true;
    return false;
}

bool UsiEngine::handshake(const char* command, EngineLine::Kind answer, std::string& error) {
    // A failed write means the engine has gone; its output is still read to
    // its end, so that an exit is told as one and not as a silence.
    const bool sent = process_->writeLine(command);
    if (!waitFor(answer, handshakeMs_, error)) return false;
    if (sent) return true;
    error = joined({name(), " exited"});
    broken_ = true;
    return false;
}

bool UsiEngine::start(std::string& error) {
    stop();
    broken_ = false;
    announced_.clear();
    process_ = std::make_unique<ChildProcess>(command_.argv);
    startFailure_ = StartFailure::None;
    if (!process_->running()) {
        startFailure_ = StartFailure::CannotStart;
        error = joined({"cannot start ", command_.argv.empty() ? std::string("?") : command_.argv[0]});
        broken_ = true;
        return false;
    }
    if (!handshake("usi", EngineLine::Kind::UsiOk, error)) {
        startFailure_ = process_->outputEnded() ? StartFailure::Exited : StartFailure::NoUsiOk;
        error += " (after \"usi\")";
        broken_ = true;
        return false;
    }
    for (const auto& [option, value] : command_.options) {
        process_->writeLine(joined({"setoption name ", option, " value ", value}));
    }
    if (!handshake("isready", EngineLine::Kind::ReadyOk, error)) {
        startFailure_ = process_->outputEnded() ? StartFailure::Exited : StartFailure::NoReadyOk;
        error += " (after \"isready\")";
        broken_ = true;
        return false;
    }
    return true;
}

bool UsiEngine::newGame(std::string& error) {
    if (broken()) {
        error = name() + " is not running";
        return false;
    }
    if (!process_->writeLine("isready") || !waitFor(EngineLine::Kind::ReadyOk, handshakeMs_, error)) {
        error += " (after \"isready\")";
        return false;
    }
    return process_->writeLine("usinewgame");
}

bool UsiEngine::sendNewGame() {
    return !broken() && process_->writeLine("isready");
}

UsiEngine::NewGameState UsiEngine::pollNewGame() {
    if (broken()) return NewGameState::Exited;
    std::string text;
    for (int lines = 0; lines < kMaxLinesPerPoll && process_->readLine(text, 0); ++lines) {
        if (parseEngineLine(text).kind == EngineLine::Kind::ReadyOk) {
            return process_->writeLine("usinewgame") ? NewGameState::Ready : NewGameState::Exited;
        }
    }
    if (process_->outputEnded()) {
        broken_ = true;
        return NewGameState::Exited;
    }
    return NewGameState::Pending;
}

bool UsiEngine::sendThink(const std::string& position, const std::string& go) {
    answer_ = Answer{};
    thinkStart_ = nowMs();
    if (broken()) return false;
    process_->writeLine(position);
    thinkStart_ = nowMs();
    return process_->writeLine(go);
}

UsiEngine::Answer UsiEngine::pollThink(int64_t waitMs) {
    if (broken()) {
        answer_.kind = Answer::Kind::Exited;
        return answer_;
    }
    const int64_t start = nowMs();
    const int64_t deadline = start + waitMs;
    const int64_t readUntil = std::max(deadline, start + kPollReadMs);
    std::string text;
    // Every line already there is read, however short the wait: an engine
    // writes many info lines a second, and its answer must not queue
    // behind them. A flood that never ends is read in portions bounded in
    // lines and in time. The answer's time is taken as it is read.
    for (int lines = 0; lines < kMaxLinesPerPoll && (lines == 0 || nowMs() < readUntil) &&
                        process_->readLine(text, std::max<int64_t>(0, deadline - nowMs()));
         ++lines) {
        const EngineLine line = parseEngineLine(text);
        take(line);
        if (line.kind == EngineLine::Kind::BestMove) {
            answer_.kind = Answer::Kind::Word;
            answer_.word = line.word;
            answer_.ms = nowMs() - thinkStart_;
            return answer_;
        }
    }
    answer_.ms = nowMs() - thinkStart_;
    if (process_->outputEnded()) {
        answer_.kind = Answer::Kind::Exited;
        broken_ = true;
    }
    return answer_;
}

UsiEngine::Answer UsiEngine::think(const std::string& position, const std::string& go,
                                   int64_t waitMs) {
    sendThink(position, go);
    int64_t deadline = thinkStart_ + waitMs;
    bool stopSent = false;
    for (;;) {
        const int64_t slice = std::min(deadline - nowMs(), (whileWaiting || stopWanted) ? kSliceMs : waitMs);
        const Answer answer = pollThink(std::max<int64_t>(0, slice));
        if (answer.kind != Answer::Kind::NoAnswer || nowMs() >= deadline) return answer;
        if (whileWaiting) whileWaiting();
        if (!stopSent && stopWanted && stopWanted()) {
            process_->writeLine("stop");
            stopSent = true;
            deadline = std::min(deadline, nowMs() + 2000);
        }
    }
}

void UsiEngine::settle(int64_t waitMs) {
    if (broken()) return;
    process_->writeLine("stop");
    std::string error;
    if (!waitFor(EngineLine::Kind::BestMove, waitMs, error)) stop();
}

void UsiEngine::requestStop() {
    if (!broken()) process_->writeLine("stop");
}

bool UsiEngine::send(const std::string& line) { return !broken() && process_->writeLine(line); }

void UsiEngine::gameOver(const char* result) {
    if (!broken()) process_->writeLine(std::string("gameover ") + result);
}

void UsiEngine::stop() {
    if (!process_) return;
    process_->writeLine("quit");
    process_->finish(2000);
    process_.reset();
    broken_ = true;
}

}  // namespace nusari
