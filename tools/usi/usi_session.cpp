#include "usi_session.h"

#include <sstream>

#include "aik/aik_loader.h"
#include "aik/engine_list.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "think/book_random.h"
#include "think/clock.h"
#include "think/hash_tables.h"
#include "think/candidate.h"
#include "think/think_move.h"

namespace nusari::usi {

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

bool parseNumber(const std::string& text, int64_t& value) {
    if (text.empty() || text.size() > 12) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    value = text[0] == '-' ? -v : v;
    return true;
}

std::string joined(const std::vector<std::string>& w, size_t from, size_t to) {
    std::string s;
    for (size_t i = from; i < to && i < w.size(); ++i) s += (s.empty() ? "" : " ") + w[i];
    return s;
}

}  // namespace

void EngineDeleter::operator()(EngineState* state) const {
    FreeHashTables(*state);
    delete state;
}

UsiSession::UsiSession(const std::filesystem::path& programFolder, std::ostream& out) : out_(out) {
    std::vector<std::string> names;
    std::vector<std::string> paths;
    if (BuildEngineList(programFolder, names, paths) && !paths.empty()) aikFile_ = paths.front();
    setupPosition(position_, kPresetEven);
}

void UsiSession::send(const std::string& line) { out_ << line << '\n' << std::flush; }

void UsiSession::message(const std::string& text) {
    std::string flat = text;
    for (char& c : flat) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    send("info string " + flat);
}

void UsiSession::requestStop(int64_t goNumber) {
    int64_t seen = stoppedGo_.load();
    while (seen < goNumber && !stoppedGo_.compare_exchange_weak(seen, goNumber)) {
    }
    EngineState* engine = searching_.load();
    if (engine != nullptr && currentGo_.load() <= goNumber) {
        engine->stopRequested = 1;
        engine->continueSearch = 0;
    }
}

bool UsiSession::handle(const std::string& line) {
    const std::vector<std::string> w = words(line);
    if (w.empty()) return true;
    const std::string& command = w[0];
    if (command == "usi") {
        usi();
    } else if (command == "isready") {
        if (ready()) send("readyok");
    } else if (command == "setoption") {
        setOption(w);
    } else if (command == "usinewgame") {
        setupPosition(position_, kPresetEven);
        toMove_ = Side::Lower;
        gameThinkingMs_ = 0;
    } else if (command == "position") {
        position(w);
    } else if (command == "go") {
        go(w);
    } else if (command == "stop") {
        stop();
    } else if (command == "ponderhit" || command == "gameover") {
        // No pondering; a finished game needs nothing.
    } else if (command == "quit") {
        stop();
        return false;
    } else {
        send("info string unknown command: " + command);
    }
    return true;
}

void UsiSession::usi() {
    send("id name Nusari Shogi");
    send("id author Nusari Shogi developers");
    send("option name AikFile type string default " + (aikFile_.empty() ? "<empty>" : aikFile_));
    send("option name USI_Hash type spin default 40 min 1 max 4096");
    send("option name RandomSeed type spin default 0 min 0 max 2147483647");
    send("option name CSATimeMode type check default false");
    send("usiok");
}

void UsiSession::setOption(const std::vector<std::string>& w) {
    // setoption name NAME [value VALUE...]
    if (w.size() < 3 || w[1] != "name") {
        send("info string setoption needs: setoption name NAME value VALUE");
        return;
    }
    size_t valueAt = 3;
    while (valueAt < w.size() && w[valueAt] != "value") ++valueAt;
    const std::string name = joined(w, 2, valueAt);
    const std::string value = joined(w, valueAt + 1, w.size());
    int64_t number = 0;
    if (name == "AikFile") {
        aikFile_ = value;
    } else if (name == "USI_Hash" && parseNumber(value, number) && number >= 1 && number <= 4096) {
        hashMb_ = number;
    } else if (name == "RandomSeed" && parseNumber(value, number) && number >= 0) {
        randomSeed_ = number;
    } else if (name == "CSATimeMode" && (value == "true" || value == "false")) {
        csaTimeMode_ = value == "true";
    } else if (name == "USI_Ponder" || name == "USI_OwnBook") {
        // Accepted and ignored: the engine does not ponder, the book follows the .aik file.
    } else {
        send("info string ignored option: " + name + (value.empty() ? "" : " = " + value));
    }
}

bool UsiSession::ready() {
    if (aikFile_.empty()) {
        send("info string no engine: set the AikFile option");
        return false;
    }
    if (!engine_ || loadedAik_ != aikFile_) {
        std::unique_ptr<EngineState, EngineDeleter> fresh(new EngineState());
        fresh->enginePath = aikFile_;
        if (LoadAik(*fresh, aikFile_, *this) != 1) {
            send("info string cannot load " + aikFile_);
            return false;
        }
        engine_ = std::move(fresh);
        loadedAik_ = aikFile_;
        allocatedHashMb_ = -1;
        seededWith_ = -1;
    }
    if (allocatedHashMb_ != hashMb_) {
        const int64_t slot = sizeof(PositionMemorySlot) + sizeof(TranspositionSlot);
        engine_->hashEntryCount = static_cast<int32_t>(std::max<int64_t>(1, hashMb_ * 1024 * 1024 / slot));
        if (AllocHashTables(*engine_, *this) != 1) return false;
        allocatedHashMb_ = hashMb_;
    }
    if (seededWith_ != randomSeed_) {
        seedRandom(engine_->randomState, static_cast<uint32_t>(randomSeed_));
        seededWith_ = randomSeed_;
    }
    return true;
}

void UsiSession::position(const std::vector<std::string>& w) {
    Position p;
    Side side = Side::Lower;
    size_t next = 2;
    if (w.size() >= 2 && w[1] == "startpos") {
        setupPosition(p, kPresetEven);
    } else if (w.size() >= 2 && w[1] == "sfen") {
        size_t end = 2;
        while (end < w.size() && w[end] != "moves") ++end;
        std::string error;
        if (!parseSfen(joined(w, 2, end), p, side, error)) {
            send("info string bad position: " + error);
            return;
        }
        next = end;
    } else {
        send("info string position needs startpos or sfen");
        return;
    }
    if (next < w.size()) {
        if (w[next] != "moves") {
            send("info string position: expected 'moves', got '" + w[next] + "'");
            return;
        }
        for (size_t i = next + 1; i < w.size(); ++i) {
            Move m;
            if (!parseUsiMove(w[i], side, m) || !isLegalMove(p, side, m)) {
                send("info string illegal move " + w[i] + " (move " + std::to_string(i - next) +
                     "); the position stays as it was");
                return;
            }
            applyMove(p, side, m);
            side = opponentOf(side);
        }
    }
    position_ = p;
    toMove_ = side;
}

void UsiSession::go(const std::vector<std::string>& w) {
    const int64_t goNumber = ++currentGo_;  // counted as the reader counts "go" lines
    GoLimits limits;
    for (size_t i = 1; i < w.size(); ++i) {
        const std::string& key = w[i];
        if (key == "infinite") {
            limits.infinite = true;
            continue;
        }
        if (key == "ponder") continue;
        int64_t* field = key == "btime"      ? &limits.btime
                         : key == "wtime"    ? &limits.wtime
                         : key == "binc"     ? &limits.binc
                         : key == "winc"     ? &limits.winc
                         : key == "byoyomi"  ? &limits.byoyomi
                         : key == "movetime" ? &limits.movetime
                                             : nullptr;
        if (field == nullptr || i + 1 >= w.size() || !parseNumber(w[i + 1], *field)) {
            send("info string go: ignored '" + key + "'");
            continue;
        }
        ++i;
    }
    if (!ready()) {
        send("bestmove resign");
        return;
    }
    engine_->timeLimitMs = static_cast<int32_t>(thinkLimitMs(limits, toMove_ == Side::Lower));
    lastInfoKey_.clear();
    searchStartMs_ = nowMs();
    ThinkRequest request;
    request.position = position_;
    request.toMove = toMove_;
    request.clockOf(toMove_).usedSeconds = static_cast<int32_t>(gameThinkingMs_ / 1000);
    request.limits.moveTimeMs = engine_->timeLimitMs;
    request.limits.csaTimeMode = csaTimeMode_;
    request.limits.startMs = searchStartMs_;
    engine_->stopRequested = 0;
    searching_ = engine_.get();
    // A stop read before the search was published still counts.
    if (stoppedGo_.load() >= goNumber) engine_->stopRequested = 1;
    Move reply = ThinkMove(*engine_, request, *this);
    searching_ = nullptr;
    gameThinkingMs_ += nowMs() - searchStartMs_;
    if (!reply.isResign()) {
        // Never answer an illegal move (the side not to move standing in
        // check gives no move): any legal move will do then.
        MoveList legal;
        generateLegalMoves(position_, toMove_, legal);
        if (!legal.contains(reply)) {
            send("info string the search chose no legal move; playing the first legal one");
            reply = legal.count > 0 ? legal.moves[0] : Move::resign();
        }
    }
    const std::string answer =
        "bestmove " + (reply.isResign() ? std::string("resign") : moveToUsi(reply, toMove_));
    if (limits.infinite && stoppedGo_.load() < goNumber) {
        pendingBestmove_ = answer;  // an infinite search answers only after "stop"
    } else {
        send(answer);
    }
}

void UsiSession::stop() {
    if (pendingBestmove_.empty()) return;
    send(pendingBestmove_);
    pendingBestmove_.clear();
}

void UsiSession::onIteration(const ThinkIteration& it) {
    const int64_t elapsed = std::max<int64_t>(1, nowMs() - searchStartMs_);
    std::string score;
    if (it.score >= kWinScore) {
        score = "mate +";
    } else if (it.score <= kLossScore) {
        score = "mate -";
    } else {
        score = "cp " + std::to_string(it.score);
    }
    std::string line = "info depth " + std::to_string(std::max(1, it.depth / kPlyDepth)) + " nodes " +
                       std::to_string(it.nodes) + " nps " +
                       std::to_string(static_cast<int64_t>(it.nodes) * 1000 / elapsed) +
                       " score " + score;
    std::string pv;
    Side mover = toMove_;
    for (const Move& m : it.line) {
        if (!pv.empty()) pv += ' ';
        pv += moveToUsi(m, mover);
        mover = opponentOf(mover);
    }
    if (!pv.empty()) line += " pv " + pv;
    // One line per depth in plies, and one whenever the best line changes.
    const std::string key = std::to_string(it.depth / kPlyDepth) + pv;
    if (key == lastInfoKey_) return;
    lastInfoKey_ = key;
    send(line);
}

}  // namespace nusari::usi
