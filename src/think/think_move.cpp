#include "think/think_move.h"

#include <algorithm>

#include "position/attack_map.h"
#include "position/text_encoding.h"
#include "think/book.h"
#include "think/clock.h"
#include "think/expand.h"
#include "think/hash_tables.h"
#include "think/progress.h"
#include "think/root_mates.h"
#include "think/search.h"
#include "think/think_texts.h"

namespace nusari {

namespace {

// The limit of one move, set for the think and put back after it.
class MoveLimit {
  public:
    explicit MoveLimit(EngineState& state) : state_(state), saved_(state.timeLimitMs) {
        int32_t limit = std::max(state.timeLimitMs, kMinTimeLimitMs);
        if (state.moveTimeCapMs > 0) limit = std::min(limit, std::max(state.moveTimeCapMs, kMinTimeLimitMs));
        state.timeLimitMs = limit;
    }
    ~MoveLimit() { state_.timeLimitMs = saved_; }
    MoveLimit(const MoveLimit&) = delete;
    MoveLimit& operator=(const MoveLimit&) = delete;

  private:
    EngineState& state_;
    int32_t saved_;
};

// In CSA time mode the limit and depth follow the computer's total time.
void applyTimeBudget(EngineState& state) {
    if (state.csaTimeMode != 1 || state.positionHistory == nullptr) return;
    if (state.plyCount < 0 || state.plyCount >= state.positionHistorySize) return;
    const int32_t used = state.positionHistory[state.plyCount][kUpperTimeCell];
    if (used > 1320) {
        state.timeLimitMs = 3000;
        state.profile.hukasa = 40;
    } else if (used > 1000) {
        state.timeLimitMs = 20000;
        state.profile.hukasa = 50;
    } else {
        state.timeLimitMs = 30000;
        state.profile.hukasa = 80;
    }
}

void expandRoot(EngineState& state, const Position& current, CandidateList& list) {
    Position scratch = current;
    ExpandNode(state, scratch, 999, list, PathTable{});
}

// The head of the list if it is a move; a pass marker at the head gives way
// to the first move behind it, so that no move is lost while one exists.
int32_t chosenIndex(const CandidateList& list) {
    for (int32_t i = 0; i < kCandidateCapacity && list[i].from != kListEndFrom; ++i) {
        if (list[i].from != kPassFrom) return i;
    }
    return -1;
}

}  // namespace

void ThinkMove(EngineState& state, Ui& ui, int32_t& from, int32_t& to) {
    from = 0;
    to = 0;
    const Position current = state.currentPosition;
    AttackMap map;
    map.lowerKing = 0;
    buildAttackMap(current, map);
    if (map.lowerKing != 0 && map.upperCount[map.lowerKing] > 0) {
        from = kLeftInCheckFrom;
        return;
    }

    ui.setPanelText(kThinkingText);
    ui.pumpMessages();
    const InducedMoves book = ProbeBook(state, current);
    const InducedMove& first = book.move[0];
    if (first.weight >= kBookMoveWeight) {
        from = first.from;
        to = first.to;
        ui.setPanelText(kBookResultText + toUtf8(first.message));
        return;
    }

    applyTimeBudget(state);
    const MoveLimit limit(state);

    Move mate;
    if (FindRootMate(state, current, mate)) {
        from = mate.from;
        to = mate.to;
        ui.setPanelText(kWonResultText);
        return;
    }

    CandidateList list;
    const int32_t found = LookupPosition(state, current, list);
    if (found == kLookupMiss || found == kLookupPathMark) expandRoot(state, current, list);

    if (list[0].score == kLossScore) {
        ui.setPanelText(kLostResultText);
        return;
    }
    if (list[0].score == kWinScore) {
        if (list[0].from != kPassFrom) {
            from = list[0].from;
            to = list[0].to;
            ui.setPanelText(kWonResultText);
            return;
        }
        expandRoot(state, current, list);
    }
    DropMatedCandidates(state, current, list);

    CandidateList mark;
    mark[0].from = kPathMarkFrom;
    StorePosition(state, current, mark);
    Progress progress;
    ComputeProgress(state, current, progress);
    int32_t best = kQuiescenceFloor;
    int32_t baseBias = 0;
    state.nodeCount = 0;
    state.clockCheckBlock = -1;
    state.continueSearch = state.stopRequested ? 0 : 1;
    // The threat search and the first iteration run whatever the clock
    // says; only a stop ends them early.
    state.clockPaused = true;
    const int32_t threat = -PassSearch(state, current, 10, kLossScore, kRootWindowTop, PathTable{});
    state.clockPaused = false;
    if (threat == kLossScore) {
        baseBias = -17;
    } else if (threat == kQuiescenceFloor) {
        baseBias = -7;
    }

    InducedMoveKey induced[4];
    for (int32_t k = 0; k < 4; ++k) induced[k] = InducedMoveKey{book.move[k].from, book.move[k].to};
    ThinkReport report;
    report.hukasa = state.profile.hukasa;
    report.inducedFrom = first.from;
    report.inducedTo = first.to;
    report.progress = progress.total;

    int32_t iteration = 0;
    // A cleared continue flag means the time ran out or a stop was requested.
    // The first iteration runs whatever the clock says; a later one starts
    // while the time used is within the engine's share of the limit.
    const int64_t iterationWindowMs = int64_t{state.timeLimitMs} * state.profile.zikan_wariai / 100;
    while (iteration <= state.profile.hukasa && state.continueSearch != 0 &&
           (iteration == 0 || nowMs() - state.moveStartMs <= iterationWindowMs)) {
        if (list[0].from != kPassFrom && list[0].from != kListEndFrom &&
            list[1].from == kListEndFrom && iteration > 10) {
            from = list[0].from;
            to = list[0].to;
            ui.setPanelText(kForcedResultText);
            return;
        }
        if (best > kQuiescenceFloor) best -= 100;
        state.clockPaused = iteration == 0;
        SearchRoot(state, current, list, iteration, best, baseBias, induced);
        state.clockPaused = false;
        report.best = best;
        report.iteration = iteration;
        report.nodeCount = state.nodeCount;
        report.bestFrom = list[0].from;
        report.bestTo = list[0].to;
        ui.setPanelText(progressText(report));
        if (state.thinkObserver != nullptr) state.thinkObserver->onIteration(report);
        ui.pumpMessages();
        ++iteration;
    }

    const int32_t chosen = chosenIndex(list);
    if (chosen >= 0 && best >= kQuiescenceFloor) {
        from = list[chosen].from;
        to = list[chosen].to;
    } else {
        best = kLossScore;
        from = 0;
        to = 0;
    }
    report.best = best;
    report.iteration = iteration - 1;
    report.nodeCount = state.nodeCount;
    std::string message;
    for (int32_t k = 0; k < 4; ++k) {
        if (book.move[k].from == from && book.move[k].to == to) {
            message = toUtf8(book.move[k].message);
            break;
        }
    }
    ui.setPanelText(resultText(report, message));
}

}  // namespace nusari
