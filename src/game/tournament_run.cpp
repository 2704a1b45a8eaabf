#include "game/tournament_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>

#include "game/match_game.h"
#include "game/match_record.h"
#include "game/play_game.h"
#include "game/usi_player.h"
#include "records/kif_notation.h"
#include "think/clock.h"
#include "usi/engine_line.h"

namespace nusari {

namespace {

// The endings a record has no word for, as the log names them.
const char* endingWord(GameEnding ending) {
    switch (ending) {
        case GameEnding::NoAnswer: return "時間切れ";
        case GameEnding::PlayerGone: return "エンジン停止";
        case GameEnding::PerpetualCheck: return "連続王手の千日手";
        case GameEnding::PlyLimit: return "手数制限";
        case GameEnding::BadDeclaration: return "宣言失敗";
        default: return kifEndingWord(ending);
    }
}

// "第3局 ▲攻め △標準 先手勝ち 97手 (投了)": the ending as a record names it,
// else as the match tools do.
std::string gameLine(const ScheduledGame& g, const TournamentPlan& plan, const TournamentResult& r, int32_t plies,
                     GameEnding ending, const std::string& detail) {
    std::string line = "第";
    line += std::to_string(g.number);
    line += "局 ▲";
    line += plan.names[static_cast<size_t>(g.sente)];
    line += " △";
    line += plan.names[static_cast<size_t>(g.gote)];
    line += r.winner < 0 ? " 引き分け " : r.winner == g.sente ? " 先手勝ち " : " 後手勝ち ";
    line += std::to_string(plies);
    line += "手 (";
    const std::string word = endingWord(ending);
    line += word.empty() ? r.ending : word;
    line += ')';
    if (!detail.empty()) {
        line += ' ';
        line += detail;
    }
    return line;
}

// " 最長 ▲0.91秒 △0.95秒": each side's slowest move, and how many of its
// moves took longer than their time (clock and byoyomi, before the margin).
std::string moveTimes(const Game& game) {
    int64_t slowest[2] = {-1, -1};
    int32_t late[2] = {0, 0};
    for (const PlayedMove& m : game.played()) {
        const int i = m.side == game.senteSide() ? 0 : 1;
        slowest[i] = std::max(slowest[i], m.ms);
        if (m.limitMs > 0 && m.ms > m.limitMs) ++late[i];
    }
    std::string text;
    for (int i = 0; i < 2; ++i) {
        if (slowest[i] < 0) continue;
        char part[64];
        std::snprintf(part, sizeof part, "%s%s%.2f秒", text.empty() ? " 最長 " : " ", i == 0 ? "▲" : "△",
                      static_cast<double>(slowest[i]) / 1000.0);
        text += part;
        if (late[i] > 0) {
            text += " (超過";
            text += std::to_string(late[i]);
            text += "手)";
        }
    }
    return text;
}

}  // namespace

std::filesystem::path tournamentGamePath(const std::filesystem::path& folder, int32_t number, int32_t total) {
    const size_t width = std::max<size_t>(3, std::to_string(total).size());
    std::string digits = std::to_string(number);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    std::string name = "game-";
    name += digits;
    name += ".csa";
    return folder / name;
}

// A player as the tournament sees it: the game is broken off once the
// tournament stops, and the sente player's moves are shown.
class TournamentRun::Watch : public Player {
  public:
    Watch(Player& inner, TournamentRun& run, bool shows) : inner_(inner), run_(run), shows_(shows) {}
    std::string name() const override { return inner_.name(); }
    bool startGame(const Game& game, Side side, std::string& error) override {
        return inner_.startGame(game, side, error);
    }
    void yourTurn(const Game& game) override { inner_.yourTurn(game); }
    std::optional<PlayerAnswer> poll(int64_t waitMs) override {
        if (run_.stopping_) return PlayerAnswer::with(PlayerAnswer::Kind::Interrupt);
        return inner_.poll(waitMs);
    }
    void timedOut() override { inner_.timedOut(); }
    void moveMade(const Game& game, const Move& m, Side mover) override {
        inner_.moveMade(game, m, mover);
        if (!shows_) return;
        run_.publish([&](TournamentSnapshot& s) {
            s.position = game.position();
            s.toMove = game.toMove();
            s.plies = game.plies();
            s.lastMove = m;
            s.moveStartMs = nowMs();
            s.sides[0].clockMs = game.clockMs(Side::Lower);
            s.sides[1].clockMs = game.clockMs(Side::Upper);
        });
    }
    void gameOver(const Outcome& outcome, Side side) override { inner_.gameOver(outcome, side); }

  private:
    Player& inner_;
    TournamentRun& run_;
    bool shows_;
};

TournamentRun::TournamentRun(TournamentSetup setup, std::vector<TournamentResult> done)
    : setup_(std::move(setup)), schedule_(tournamentSchedule(setup_.plan)) {
    shared_.results = done;
    shared_.total = static_cast<int32_t>(schedule_.size());
    thread_ = std::thread([this, done = std::move(done)] { run(done); });
}

TournamentRun::~TournamentRun() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

TournamentSnapshot TournamentRun::snapshot() const {
    std::lock_guard<std::mutex> hold(lock_);
    return shared_;
}

bool TournamentRun::waitEnded(int64_t ms) const {
    const int64_t end = nowMs() + ms;
    while (nowMs() < end) {
        if (!snapshot().running) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !snapshot().running;
}

void TournamentRun::publish(const std::function<void(TournamentSnapshot&)>& change) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        change(shared_);
    }
    ++serial_;
}

void TournamentRun::run(std::vector<TournamentResult> done) {
    std::set<int32_t> finished;
    for (const TournamentResult& r : done) finished.insert(r.game);
    std::vector<std::unique_ptr<UsiEngine>> engines;
    for (const EngineCommand& c : setup_.commands) engines.push_back(std::make_unique<UsiEngine>(c, setup_.handshakeMs));
    for (const ScheduledGame& g : schedule_) {
        if (stopping_) break;
        if (finished.count(g.number) == 0) playOne(g, engines);
    }
    for (std::unique_ptr<UsiEngine>& e : engines) {
        if (!e->broken()) e->stop();
    }
    publish([](TournamentSnapshot& s) {
        s.running = false;
        s.game = 0;
    });
}

void TournamentRun::playOne(const ScheduledGame& g, std::vector<std::unique_ptr<UsiEngine>>& engines) {
    const TournamentPlan& plan = setup_.plan;
    const Opening& opening = setup_.openings[static_cast<size_t>(g.opening) % setup_.openings.size()];
    GameSetup gameSetup;
    gameSetup.start = opening.start;
    gameSetup.toMove = opening.toMove;
    gameSetup.opening = opening.moves;
    gameSetup.timeForBoth(setup_.time);
    Game game(gameSetup);
    const int32_t engineOf[2] = {g.sente, g.gote};
    publish([&](TournamentSnapshot& s) {
        s.game = g.number;
        s.position = game.position();
        s.toMove = game.toMove();
        s.plies = game.plies();
        s.lastMove = game.moves().empty() ? Move::none() : game.moves().back();
        s.moveStartMs = nowMs();
        for (int i = 0; i < 2; ++i) {
            s.sides[i] = TournamentSide{};
            s.sides[i].name = plan.names[static_cast<size_t>(engineOf[i])];
            s.sides[i].clockMs = setup_.time.timeMs;
        }
    });
    // An engine that will not start loses the game; the next game tries again.
    for (int i = 0; i < 2 && !game.over(); ++i) {
        UsiEngine& e = *engines[static_cast<size_t>(engineOf[i])];
        std::string error;
        if (e.broken() && !e.start(error)) {
            game.forfeit(i == 0 ? Side::Lower : Side::Upper, GameEnding::PlayerGone,
                         plan.names[static_cast<size_t>(engineOf[i])] + ": " + error);
        }
    }
    MatchHeader header{plan.names[static_cast<size_t>(g.sente)], plan.names[static_cast<size_t>(g.gote)],
                       csaTimeNow(), ""};
    if (!game.over()) {
        UsiEngine& black = *engines[static_cast<size_t>(g.sente)];
        UsiEngine& white = *engines[static_cast<size_t>(g.gote)];
        for (int i = 0; i < 2; ++i) {
            UsiEngine& e = i == 0 ? black : white;
            e.onInfo = [this, i](const EngineLine& line) {
                if (line.kind != EngineLine::Kind::Info || line.multipv > 1) return;
                if (line.depth < 0 && !line.hasScore && line.pv.empty()) return;
                publish([&](TournamentSnapshot& s) {
                    TournamentSide& side = s.sides[i];
                    if (line.depth >= 0) side.depth = line.depth;
                    if (line.hasScore) {
                        side.hasScore = true;
                        side.score = line.score;
                        side.mate = line.mate;
                    }
                    if (!line.pv.empty()) {
                        side.pv = line.pv;
                        side.pvFrom = s.position;
                        side.pvToMove = s.toMove;
                    }
                });
            };
        }
        UsiPlayer blackPlayer(black, plan.names[static_cast<size_t>(g.sente)], opening.evenStart);
        UsiPlayer whitePlayer(white, plan.names[static_cast<size_t>(g.gote)], opening.evenStart);
        Watch blackWatch(blackPlayer, *this, true);
        Watch whiteWatch(whitePlayer, *this, false);
        Player* players[2] = {&blackWatch, &whiteWatch};
        playGame(game, players);
        black.onInfo = nullptr;
        white.onInfo = nullptr;
    }
    // A game broken off is not counted: it is played again.
    if (game.outcome().ending == GameEnding::Interrupt) {
        publish([&](TournamentSnapshot& s) {
            std::string line = "第";
            line += std::to_string(g.number);
            line += "局を中断しました (続きはこの局から)";
            s.log.push_back(line);
        });
        return;
    }
    header.endTime = csaTimeNow();
    const GameOutcome outcome = matchOutcome(game, 0);
    TournamentResult result;
    result.game = g.number;
    result.winner = outcome.winner < 0 ? -1 : engineOf[outcome.winner];
    result.ending = endingName(outcome.end);
    std::vector<std::string> faults;
    std::string error;
    const std::filesystem::path recordPath = tournamentGamePath(setup_.folder, g.number, static_cast<int32_t>(schedule_.size()));
    if (!writeTextFile(recordPath.string(), formatMatchCsa(header, opening, outcome), error)) faults.push_back(error);
    std::vector<TournamentResult> results = snapshot().results;
    results.push_back(result);
    if (!writeTextFile((setup_.folder / kTournamentResultsFile).string(), tournamentFileText(plan, results), error)) {
        faults.push_back(error);
    }
    publish([&](TournamentSnapshot& s) {
        s.results = results;
        s.log.push_back(gameLine(g, plan, result, game.plies(), outcome.end, outcome.detail) + moveTimes(game));
        for (const std::string& f : faults) s.log.push_back(f);
    });
}

}  // namespace nusari
