// The moves of a game: the human's with the promotion question, the
// computer's reply, and the record of every ply.
#include <algorithm>

#include "game/usi_player.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/sfen.h"
#include "think/candidate.h"
#include "think/clock.h"
#include "think/hash_tables.h"
#include "think/panel_observer.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

namespace {

constexpr int32_t kPollIntervalMs = 20;

// The thinking panel, and the score of a searched move (a book move has none).
class ScoreKeeper : public PanelObserver {
  public:
    explicit ScoreKeeper(Ui& ui) : PanelObserver(ui, Side::Upper) {}
    void onResult(const ThinkResult& result) override {
        PanelObserver::onResult(result);
        scored = result.end != ThinkEnd::Book && result.end != ThinkEnd::NoThink;
        score = result.score;
    }
    bool scored = false;
    int32_t score = 0;
};

// Rook, bishop, silver, knight, lance and pawn, not yet promoted.
bool mayPromote(int32_t code) {
    return code == kLowerRook || code == kLowerBishop || code == kLowerSilver ||
           code == kLowerKnight || code == kLowerLance || code == kLowerPawn;
}

// A piece that could never move again unpromoted must promote.
bool mustPromote(int32_t code, int32_t to) {
    if (code == kLowerKnight) return rankOf(to) <= 2;
    return (code == kLowerLance || code == kLowerPawn) && rankOf(to) == 1;
}

}  // namespace

void GameController::lowerTurn() {
    if (page.linkChecked) ui.setPollTimer(kPollIntervalMs);
    gameState = GameState::LowerToMove;
}

ThinkRequest GameController::thinkRequest() const {
    const EngineState& e = *engine;
    const GameFields& g = fields;
    ThinkRequest request;
    request.position = g.currentPosition;
    request.toMove = Side::Upper;
    const Position& times =
        record->history[static_cast<std::size_t>(std::clamp(g.plyCount, 0, kMaxRecordPlies))];
    request.clockOf(Side::Lower).usedSeconds = times[kLowerTimeCell];
    request.clockOf(Side::Upper).usedSeconds = times[kUpperTimeCell];
    request.limits.moveTimeMs = e.timeLimitMs;
    request.limits.csaTimeMode = e.csaTimeMode == 1;
    // On the game's clocks the computer spends its own clock.
    if (const int64_t clockLimit = computerClockLimitMs(); clockLimit > 0) {
        request.limits.moveTimeMs = static_cast<int32_t>(std::min<int64_t>(clockLimit, INT32_MAX));
        request.limits.csaTimeMode = false;
    }
    request.limits.startMs = g.moveStartMs;
    return request;
}

void GameController::startReferee(Side toMove) {
    GameSetup setup;
    setup.start = fields.currentPosition;
    setup.toMove = toMove;
    setup.senteSide = record->boardTurned != 0 ? Side::Upper : Side::Lower;
    // The record's room is the window's ply limit; the human and the
    // computer's per-move limit keep their own clocks.
    setup.maxPlies = kMaxRecordPlies - fields.plyCount;
    setUpClocks(setup);
    referee_ = std::make_unique<Game>(setup);
}

void GameController::syncReferee(Side toMove) {
    const Position& board = fields.currentPosition;
    if (referee_ && referee_->toMove() == toMove &&
        toSfen(referee_->position(), toMove) == toSfen(board, toMove)) {
        return;
    }
    startReferee(toMove);
}

bool GameController::judgeMove(Side mover, const Move& m, int64_t usedMs) {
    if (!referee_) return false;
    return actOnJudgement(mover, referee_->answer(PlayerAnswer::of(m, usedMs)));
}

bool GameController::actOnJudgement(Side mover, const Outcome& judged) {
    // A copy: ending the game may start a match's next one, and its referee.
    const Outcome outcome = judged;
    switch (outcome.ending) {
        case GameEnding::FoulLoss:
            // The board lets the human make any move his pieces can make:
            // one that leaves his king in check loses; any other the game
            // plays on from, as it always has.
            if (mover == Side::Lower && isInCheck(fields.currentPosition, Side::Lower)) {
                endByLeftInCheck();
                return true;
            }
            startReferee(opponentOf(mover));
            return false;
        case GameEnding::Repetition:
        case GameEnding::PerpetualCheck:
            // A game server decides these itself and says so.
            if (!judgeRepetition || (page.linkChecked && link != nullptr && link->JudgesRepetition())) {
                return false;
            }
            endByRepetition(outcome);
            return true;
        default:
            // A mate is the mated side's to see: the computer resigns, the
            // human resigns or fouls.
            return false;
    }
}

void GameController::endByRepetition(const Outcome& outcome) {
    const bool inMatch = renzoku != 0;
    if (outcome.ending == GameEnding::Repetition) {
        EndGame(-1, GameEnding::Repetition);
        tellAfterGame(kRepetitionDraw, inMatch);
        return;
    }
    // In the record the side to move after the last ply wins by the other
    // side's foul (反則勝ち) or loses by its own (反則負け): what other
    // programs read as the perpetual check's result.
    const Side winner = outcome.winner.value_or(Side::Lower);
    const bool moverWins = winner == referee_->toMove();
    EndGame(winner == Side::Lower ? 1 : 2, moverWins ? GameEnding::FoulWin : GameEnding::FoulLoss);
    tellAfterGame(kPerpetualCheckLoss, inMatch);
}

void GameController::endByLeftInCheck() {
    if (page.linkChecked && link != nullptr) link->SendInterruption();
    PlaySound(Sound::Message);
    const bool inMatch = renzoku != 0;
    // Leaving the king in check is the human's foul: the computer, to
    // move, wins by it.
    EndGame(2, GameEnding::FoulWin);
    // In a match the next game has begun: nothing to tell.
    if (!inMatch) ui.notify(kHumanLeftInCheck);
}

// The search may run on another thread: until its reply is handed over,
// only the think touches the engine's working record.
void GameController::computerTurn() {
    if (page.linkChecked) ui.setPollTimer(0);
    gameState = GameState::ComputerThinking;
    // The referee's test, before anyone is asked to think.
    if (isInCheck(fields.currentPosition, Side::Lower)) {
        endByLeftInCheck();
        return;
    }
    // The second person moves by clicks on the board.
    if (humanOpponent_) {
        fields.pendingFrom = 0;
        return;
    }
    const uint32_t turn = ++thinkNumber_;
    engine->stopRequested = 0;
    ThinkRequest request = thinkRequest();
    // A remote's clock (a game server's) may allow less than the setting.
    const int32_t used = request.clockOf(Side::Upper).usedSeconds;
    const int32_t cap = page.linkChecked && link != nullptr ? link->MoveTimeCapMs(used) : 0;
    request.limits.moveCapMs = cap;
    // Either engine answers on the worker thread; the answer is taken on
    // this one, by the same rules for both.
    std::function<void(Ui&)> work;
    std::string name;
    if (usiPlays_ && usiOpponent) {
        const int32_t limit = cap > 0 ? std::min(cap, engine->timeLimitMs) : engine->timeLimitMs;
        UsiOpponent* opponent = usiOpponent.get();
        name = opponent->name();
        // On the game's clocks the engine is told both sides' time and may
        // answer until its own has run out.
        const UsiGo go = computerClockLimitMs() > 0
                             ? UsiGo{usiGoCommand(*referee_), referee_->deadlineMs()}
                             : UsiGoCommand(*record, fields.plyCount, limit, engine->csaTimeMode == 1);
        work = [this, opponent, go](Ui& thinkUi) {
            computerReply_ = opponent->Think(*record, fields.plyCount, fields.currentPosition, go,
                                             engine->stopRequested, thinkUi);
        };
    } else {
        work = [this, request](Ui& thinkUi) {
            ScoreKeeper panel(thinkUi);
            const Move reply = think(*engine, request, panel);
            computerReply_ = reply.isResign() ? PlayerAnswer::with(PlayerAnswer::Kind::Resign) : PlayerAnswer::of(reply);
            computerReply_->hasScore = panel.scored;
            computerReply_->score = panel.score;
        };
    }
    computerReply_.reset();
    runThink(std::move(work), [this, turn, name] {
        if (turn != thinkNumber_ || gameState != GameState::ComputerThinking) return;
        if (computerReply_) takeEngineAnswer(Side::Upper, *computerReply_, name);
    });
}

bool GameController::RecordPly(Side mover, int64_t thinkMs) {
    GameFields& g = fields;
    if (g.plyCount < 0 || g.plyCount >= kMaxRecordPlies) return false;
    ++g.plyCount;
    const Position& previous = record->history[static_cast<std::size_t>(g.plyCount - 1)];
    Position& entry = record->history[static_cast<std::size_t>(g.plyCount)];
    entry = g.currentPosition;
    int64_t seconds = (thinkMs >= 0 ? thinkMs : now() - g.moveStartMs) / 1000;
    if (seconds < 1) seconds = 1;
    const int32_t moverCell = mover == Side::Lower ? kLowerTimeCell : kUpperTimeCell;
    const int32_t otherCell = mover == Side::Lower ? kUpperTimeCell : kLowerTimeCell;
    const int64_t total = seconds + previous[moverCell];
    entry[moverCell] = total > INT32_MAX ? INT32_MAX : static_cast<int32_t>(total);
    entry[otherCell] = previous[otherCell];
    plyScores_.resize(static_cast<std::size_t>(g.plyCount));
    plyScores_.back() = pendingScore_;
    pendingScore_.reset();
    return g.plyCount < kMaxRecordPlies;
}

void GameController::stopAtPlyLimit() {
    const bool inMatch = renzoku != 0;
    InterruptGame();
    tellAfterGame(kPlyLimitReached, inMatch);
}

// After a game has ended and been logged: a box that does not hold up what
// follows, or the thinking panel during a continuous match, which runs
// unattended.
void GameController::tellAfterGame(const std::string& text, bool inMatch) {
    PlaySound(Sound::Message);
    if (inMatch) {
        ui.setPanelText(ui.panelText() + "\n" + text);
    } else {
        ui.notify(text);
    }
}

void GameController::ApplyHumanMove() {
    GameFields& g = fields;
    const int32_t from = g.pendingFrom;
    const int32_t to = g.pendingTo % kPromotionOffset;
    g.pendingTo = to;
    if (from < kPromotionOffset) {
        const int32_t code = g.currentPosition[from];
        if (mayPromote(code) && (rankOf(from) <= 3 || rankOf(to) <= 3) &&
            (mustPromote(code, to) || ui.ask(kPromoteQuestion))) {
            g.pendingTo = to + kPromotionOffset;
        }
    }
    const Move m{from, g.pendingTo};
    if (page.refuseFouls && refusedMove(m)) return;
    human_.give(PlayerAnswer::of(m));
    takeHumanAnswers();
}

bool GameController::refusedMove(const Move& m) {
    const Position& board = fields.currentPosition;
    Position after = board;
    applyLowerMove(after, m);
    const char* why = isInCheck(after, Side::Lower)          ? kRefusedLeftInCheck
                      : isPawnDropMate(board, Side::Lower, m) ? kRefusedPawnDropMate
                                                               : nullptr;
    if (why == nullptr) return false;
    // The piece goes back where it stood; the human moves again.
    fields.pendingFrom = 0;
    fields.pendingTo = 0;
    DrawBoard();
    ui.notify(why);
    return true;
}

void GameController::takeHumanAnswers() {
    while (gameState == GameState::LowerToMove) {
        const std::optional<PlayerAnswer> answer = human_.poll(0);
        if (!answer) return;
        takeLowerAnswer(*answer, human_.name());
    }
    // What the human did after the game ended counts for nothing.
    human_.gameOver(Outcome{}, Side::Lower);
}

void GameController::PlayLowerMove(const Move& m) {
    GameFields& g = fields;
    const int64_t used = now() - g.moveStartMs;
    if (clockRanOut(Side::Lower, used)) return;
    syncReferee(Side::Lower);
    g.pendingFrom = m.from;
    g.pendingTo = m.to;
    applyLowerMove(g.currentPosition, m);
    const bool roomLeft = RecordPly(Side::Lower);
    g.moveStartMs = now();
    g.lastDestination = destinationOf(m);
    DrawBoard();
    if (!roomLeft) {
        stopAtPlyLimit();
        return;
    }
    PlaySound(Sound::Piece);
    if (judgeMove(Side::Lower, m, used)) return;
    computerTurn();
}

void GameController::ApplyComputerMove(const Move& reply, int64_t thinkMs) {
    EngineState& e = *engine;
    GameFields& g = fields;
    const int32_t from = reply.from;
    const int32_t to = reply.to;
    if (reply.isResign()) {
        if (page.linkChecked && link != nullptr) link->SendMove(Move::resign());
        PlaySound(Sound::Message);
        const bool inMatch = renzoku != 0;
        EndGame(1, GameEnding::Resign);
        // In a match the next game has begun: nothing to tell.
        if (!inMatch) ui.notify(kComputerResigns);
        return;
    }
    const int64_t used = thinkMs >= 0 ? thinkMs : now() - g.moveStartMs;
    if (clockRanOut(Side::Upper, used)) return;
    syncReferee(Side::Upper);
    // A reply is outside input to the board: one that the referee finds no
    // legal move (a broken engine) stops the game without a result and
    // writes nothing.
    // (A referee that has decided already, a mate, judges no more moves.)
    const bool legal = referee_->over() ? isLegalMove(g.currentPosition, Side::Upper, reply)
                                        : referee_->answer(PlayerAnswer::of(reply, used)).ending != GameEnding::FoulLoss;
    if (!legal) {
        const bool inMatch = renzoku != 0;
        InterruptGame();
        tellAfterGame(kImpossibleReply + std::to_string(from) + "," + std::to_string(to), inMatch);
        return;
    }
    applyUpperMove(g.currentPosition, reply);
    const bool roomLeft = RecordPly(Side::Upper, thinkMs);
    // A path mark tells the search that the game has passed this position.
    CandidateList mark;
    mark[0].from = kPathMarkFrom;
    StorePosition(e, g.currentPosition, mark);
    g.moveStartMs = now();
    g.lastDestination = to % kPromotionOffset;
    DrawBoard();
    if (page.linkChecked && link != nullptr) link->SendMove(reply);
    lowerTurn();
    g.pendingFrom = 0;
    PlaySound(Sound::Piece);
    if (!roomLeft) {
        stopAtPlyLimit();
        return;
    }
    if (referee_) actOnJudgement(Side::Upper, referee_->outcome());
}

}  // namespace nusari
