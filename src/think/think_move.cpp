#include "think/think_move.h"

#include <algorithm>

#include "position/attack_map.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/text_encoding.h"
#include "think/book.h"
#include "think/clock.h"
#include "think/expand.h"
#include "think/hash_tables.h"
#include "think/progress.h"
#include "think/root_mates.h"
#include "think/search.h"
#include "think/second_search.h"

namespace nusari {

namespace {

// The time limit of this move: the setting (or the CSA budget), at least
// kMinTimeLimitMs, at most a server's cap.
int32_t moveLimitMs(EngineState& state, const ThinkRequest& request) {
    int32_t limit = request.limits.moveTimeMs;
    if (request.limits.csaTimeMode) {
        const CsaTimeBudget budget = csaTimeBudget(request.clockOf(request.toMove).usedSeconds);
        state.timeLimitMs = budget.limitMs;
        state.profile.hukasa = budget.hukasa;
        limit = budget.limitMs;
    }
    limit = std::max(limit, kMinTimeLimitMs);
    const int32_t cap = request.limits.moveCapMs;
    if (cap > 0) limit = std::min(limit, std::max(cap, kMinTimeLimitMs));
    return limit;
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

Move moveOf(const Candidate& c) { return Move{c.from, c.to}; }

// The search thinks for the upper side; a request for the lower side is
// turned round on the way in and its moves on the way out.
class Frame {
  public:
    explicit Frame(Side toMove) : turned_(toMove == Side::Lower) {}
    Position view(const Position& p) const { return turned_ ? flipPosition(p) : p; }
    // A move of the view's ply `ply` (0: the side to move's, in the view;
    // odd plies in the flipped frame of their child position).
    Move out(const Move& m, int32_t ply = 0) const {
        if (!m.isMove()) return m;
        return turned_ != (ply % 2 == 1) ? flipMove(m) : m;
    }

  private:
    bool turned_;
};

// Follows the stored lists from the root through the positions of the
// search: each position's best move, while the stored one is legal.
BestLine bestLineOf(EngineState& state, const Position& root, const Move& first, const Frame& frame) {
    BestLine line;
    Position p = root;
    Move m = first;
    for (int32_t ply = 0; ply < kMaxBestLine && m.isMove(); ++ply) {
        if (!isLegalMove(p, Side::Upper, m)) break;
        line.add(frame.out(m, ply));
        PathTable path;
        p = MakeChild(p, m.from, m.to, -p[kLowerTimeCell], 0, path);
        CandidateList list;
        const int32_t found = LookupPosition(state, p, list);
        const bool won = found == kLookupVerdict && list[0].score == kWinScore;
        if (found != kLookupList && !won) break;
        m = moveOf(list[0]);
    }
    return line;
}

// The first `wanted` moves of the root list with their lines; the head's
// score is the iteration's, the others' no higher.
void reportCandidates(EngineState& state, const Position& root, const CandidateList& list,
                      int32_t best, const Frame& frame, int32_t wanted, ThinkIteration& report) {
    wanted = std::min(wanted, kMaxRootCandidates);
    report.candidateCount = 0;
    for (int32_t i = 0; i < kCandidateCapacity && report.candidateCount < wanted &&
                        list[i].from != kListEndFrom;
         ++i) {
        if (list[i].from == kPassFrom) continue;
        RootCandidate& c = report.candidates[report.candidateCount++];
        c.move = frame.out(moveOf(list[i]));
        c.score = i == 0 ? best : std::min(list[i].score, best);
        c.line = bestLineOf(state, root, moveOf(list[i]), frame);
    }
}

}  // namespace

CsaTimeBudget csaTimeBudget(int32_t usedSeconds) {
    if (usedSeconds > 1320) return {3000, 40};
    if (usedSeconds > 1000) return {20000, 50};
    return {30000, 80};
}

Move ThinkMove(EngineState& state, const ThinkRequest& request, ThinkObserver& observer) {
    const Frame frame(request.toMove);
    Position current = frame.view(request.position);
    current[kLowerTimeCell] = 0;
    current[kUpperTimeCell] = 0;
    ThinkResult result;
    AttackMap map;
    map.lowerKing = 0;
    buildAttackMap(current, map);
    if (map.lowerKing != 0 && map.upperCount[map.lowerKing] > 0) {
        result.end = ThinkEnd::NoThink;
        observer.onResult(result);
        return Move::none();
    }
    // Ends the think with `move` (in the view's frame).
    const auto finish = [&](ThinkEnd end, const Move& move) {
        result.end = end;
        result.move = frame.out(move);
        observer.onResult(result);
        return result.move;
    };

    observer.onStart();
    const InducedMoves book = ProbeBook(state, current);
    const InducedMove& first = book.move[0];
    result.setting.induced = frame.out(Move{first.from, first.to});
    if (first.weight >= kBookMoveWeight) {
        result.message = toUtf8(first.message);
        return finish(ThinkEnd::Book, Move{first.from, first.to});
    }

    state.searchLimitMs = moveLimitMs(state, request);
    state.searchStartMs = request.limits.startMs;

    Move mate;
    if (FindRootMate(state, current, mate)) return finish(ThinkEnd::Won, mate);

    // tansaku=1: the second search, over the same book, mate search and clock.
    if (state.profile.tansaku == 1) {
        result.setting.maxDepth = state.profile.hukasa;
        Progress progress;
        ComputeProgress(state, current, progress);
        result.setting.progress = progress.total;
        const SecondSearchResult found =
            SecondSearch(state, current, Side::Upper, state.searchLimitMs, state.searchStartMs, observer,
                         result.setting, [&frame](const Move& m) { return frame.out(m); });
        result.score = found.move.isResign() ? kLossScore : found.score;
        result.depth = found.depth * kPlyDepth;
        result.nodes = state.nodeCount;
        if (found.move.isResign() || !found.move.isMove()) return finish(ThinkEnd::Lost, Move::resign());
        return finish(ThinkEnd::Searched, found.move);
    }

    CandidateList list;
    const int32_t found = LookupPosition(state, current, list);
    if (found == kLookupMiss || found == kLookupPathMark) expandRoot(state, current, list);

    if (list[0].score == kLossScore) return finish(ThinkEnd::Lost, Move::resign());
    if (list[0].score == kWinScore) {
        if (list[0].from != kPassFrom) return finish(ThinkEnd::Won, moveOf(list[0]));
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
    state.clockCheckBlock = kClockNotRead;
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
    result.setting.maxDepth = state.profile.hukasa;
    result.setting.progress = progress.total;
    ThinkIteration report;
    report.setting = result.setting;

    int32_t iteration = 0;
    // A cleared continue flag means the time ran out or a stop was requested.
    // The first iteration runs whatever the clock says; a later one starts
    // while the time used is within the engine's share of the limit.
    const int64_t iterationWindowMs = int64_t{state.searchLimitMs} * state.profile.zikan_wariai / 100;
    while (iteration <= state.profile.hukasa && state.continueSearch != 0 &&
           (iteration == 0 || nowMs() - state.searchStartMs <= iterationWindowMs)) {
        if (list[0].from != kPassFrom && list[0].from != kListEndFrom &&
            list[1].from == kListEndFrom && iteration > 10) {
            return finish(ThinkEnd::Forced, moveOf(list[0]));
        }
        if (best > kQuiescenceFloor) best -= 100;
        state.clockPaused = iteration == 0;
        SearchRoot(state, current, list, iteration, best, baseBias, induced);
        state.clockPaused = false;
        report.score = best;
        report.depth = iteration;
        report.nodes = state.nodeCount;
        report.best = frame.out(moveOf(list[0]));
        report.line = bestLineOf(state, current, moveOf(list[0]), frame);
        reportCandidates(state, current, list, best, frame, observer.wantedCandidates(), report);
        observer.onIteration(report);
        ++iteration;
    }

    const int32_t chosen = chosenIndex(list);
    Move answer = Move::resign();
    if (chosen >= 0 && best >= kQuiescenceFloor) {
        answer = moveOf(list[chosen]);
    } else {
        best = kLossScore;
    }
    result.score = best;
    result.depth = iteration - 1;
    result.nodes = state.nodeCount;
    for (int32_t k = 0; k < 4; ++k) {
        if (Move{book.move[k].from, book.move[k].to} == answer) {
            result.message = toUtf8(book.move[k].message);
            break;
        }
    }
    return finish(ThinkEnd::Searched, answer);
}

}  // namespace nusari
