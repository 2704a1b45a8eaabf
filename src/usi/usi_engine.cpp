#include "usi/usi_engine.h"

#include <algorithm>

#include "usi/engine_line.h"
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

// Reads lines until one of `kind` (an EngineLine::Kind); false on a timeout
// or the end of the output, with a message.
bool UsiEngine::waitFor(int kind, int64_t timeoutMs, std::string& error) {
    const int64_t deadline = nowMs() + timeoutMs;
    std::string text;
    while (process_->readLine(text, std::max<int64_t>(1, deadline - nowMs()))) {
        const EngineLine line = parseEngineLine(text);
        if (line.kind == EngineLine::Kind::IdName) idName_ = line.word;
        if (static_cast<int>(line.kind) == kind) return true;
    }
    error = name();
    error += process_->outputEnded() ? " exited" : " did not answer in time";
    broken_ = true;
    return false;
}

bool UsiEngine::start(std::string& error) {
    stop();
    broken_ = false;
    process_ = std::make_unique<ChildProcess>(command_.argv);
    if (!process_->running()) {
        error = joined({"cannot start ", command_.argv[0]});
        broken_ = true;
        return false;
    }
    if (!process_->writeLine("usi") ||
        !waitFor(static_cast<int>(EngineLine::Kind::UsiOk), handshakeMs_, error)) {
        error += " (after \"usi\")";
        broken_ = true;
        return false;
    }
    for (const auto& [option, value] : command_.options) {
        process_->writeLine(joined({"setoption name ", option, " value ", value}));
    }
    if (!process_->writeLine("isready") ||
        !waitFor(static_cast<int>(EngineLine::Kind::ReadyOk), handshakeMs_, error)) {
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
    if (!process_->writeLine("isready") ||
        !waitFor(static_cast<int>(EngineLine::Kind::ReadyOk), handshakeMs_, error)) {
        error += " (after \"isready\")";
        return false;
    }
    return process_->writeLine("usinewgame");
}

UsiEngine::Answer UsiEngine::think(const std::string& position, const std::string& go,
                                   int64_t waitMs) {
    Answer answer;
    if (broken()) {
        answer.kind = Answer::Kind::Exited;
        return answer;
    }
    process_->writeLine(position);
    const int64_t start = nowMs();
    process_->writeLine(go);
    const int64_t deadline = start + waitMs;
    std::string text;
    while (process_->readLine(text, std::max<int64_t>(1, deadline - nowMs()))) {
        const EngineLine line = parseEngineLine(text);
        if (line.kind == EngineLine::Kind::Info && line.hasScore) {
            answer.hasScore = true;
            answer.score = line.score;
        } else if (line.kind == EngineLine::Kind::BestMove) {
            answer.kind = Answer::Kind::Word;
            answer.word = line.word;
            answer.ms = nowMs() - start;
            return answer;
        }
        if (nowMs() >= deadline) break;
    }
    answer.ms = nowMs() - start;
    answer.kind = process_->outputEnded() ? Answer::Kind::Exited : Answer::Kind::NoAnswer;
    if (answer.kind == Answer::Kind::Exited) broken_ = true;
    return answer;
}

void UsiEngine::settle(int64_t waitMs) {
    if (broken()) return;
    process_->writeLine("stop");
    std::string error;
    if (!waitFor(static_cast<int>(EngineLine::Kind::BestMove), waitMs, error)) stop();
}

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
