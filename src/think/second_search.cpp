#include "think/second_search.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "position/position.h"
#include "think/candidate.h"
#include "think/clock.h"
#include "think/evaluate.h"
#include "think/king_piece_eval.h"
#include "think/move_stages.h"
#include "think/progress.h"
#include "think/search_board.h"

namespace nusari {

enum : uint8_t { kBoundNone = 0, kBoundUpper = 1, kBoundLower = 2, kBoundExact = 3 };

struct SearchTableSlot {
    uint64_t key = 0;
    int32_t score = 0;
    int16_t from = 0;
    int16_t to = 0;
    int8_t depth = 0;
    uint8_t bound = kBoundNone;
};

namespace {

constexpr int32_t kMaxPly = 96;
constexpr int32_t kInfinity = kSearchMate + 1000;
// Static scores stay below any mate.
constexpr int32_t kEvalLimit = 30000;
constexpr int32_t kMaxQuiescencePly = 12;
constexpr int32_t kBucket = 4;
constexpr int32_t kNodesPerClockCheck = 1024;
constexpr int32_t kAspiration = 150;
constexpr size_t kEvalCacheSize = size_t{1} << 16;
// Pruning: the least depth of a null move, the margin per ply of the static
// cut, the margins of futility by depth, the quiet moves tried at the last
// plies before the rest are skipped.
constexpr int32_t kNullMoveMinDepth = 3;
constexpr int32_t kStaticMargin = 120;
constexpr int32_t kFutilityMargin[4] = {0, 200, 400, 600};
constexpr size_t kLateMoveCount[4] = {0, 10, 18, 30};

struct EvalSlot {
    uint64_t key = 0;
    int32_t score = 0;
};

// Piece values for ordering captures (most valuable victim, least valuable
// attacker), by code & 15.
constexpr int32_t kOrderValue[16] = {100, 10, 8, 6, 5, 4, 3, 1, 0, 12, 10, 0, 6, 6, 6, 7};

// Ordering keys above any history: captures and promotions, the killers,
// the counter move (the table's move outranks them all).
constexpr int64_t kCaptureKey = int64_t{1} << 50;
constexpr int64_t kKillerKey = int64_t{1} << 49;
constexpr int64_t kCounterKey = int64_t{1} << 48;
// The bound of the histories, and the pieces by kind on each square.
constexpr int32_t kHistoryLimit = 16384;
constexpr size_t kPieceSquares = 16 * 81;

// The plies a late quiet move is searched less, growing with the log of
// the depth and of its place in the order.
int32_t lateMoveReduction(int32_t depth, size_t index) {
    constexpr size_t kDepths = 64;
    constexpr size_t kIndices = 256;
    static const std::vector<int32_t> table = [] {
        std::vector<int32_t> t(kDepths * kIndices, 0);
        for (size_t d = 1; d < kDepths; ++d) {
            for (size_t n = 1; n < kIndices; ++n) {
                t[d * kIndices + n] = static_cast<int32_t>(0.75 + std::log(double(d)) * std::log(double(n)) / 2.25);
            }
        }
        return t;
    }();
    const size_t d = static_cast<size_t>(std::clamp(depth, 0, int32_t{kDepths - 1}));
    return table[d * kIndices + std::min(index, kIndices - 1)];
}

int32_t orderValue(int32_t code) { return isValidPieceCode(code) ? kOrderValue[code & 15] : 0; }

bool isMateScore(int32_t s) { return std::abs(s) >= kSearchMate - kMaxPly * 2; }

// Mate scores are stored relative to the node, read back relative to the root.
int32_t toTable(int32_t s, int32_t ply) { return s >= kSearchMate - 2 * kMaxPly ? s + ply : s <= -kSearchMate + 2 * kMaxPly ? s - ply : s; }
int32_t fromTable(int32_t s, int32_t ply) { return s >= kSearchMate - 2 * kMaxPly ? s - ply : s <= -kSearchMate + 2 * kMaxPly ? s + ply : s; }

struct Ordered {
    Move move;
    int64_t key;
    int32_t index;  // in generation order: the tie-break
};

bool comesBefore(const Ordered& a, const Ordered& b) { return a.key > b.key || (a.key == b.key && a.index < b.index); }

constexpr size_t kPickedMoves = 4;

// The move to try `i`th, best guesses first: the first few are picked one by
// one, since most nodes that cut off do so there; the rest are sorted when
// the search gets to them.
const Move& nextMove(std::vector<Ordered>& moves, size_t i) {
    if (i < kPickedMoves) {
        size_t best = i;
        for (size_t j = i + 1; j < moves.size(); ++j) {
            if (comesBefore(moves[j], moves[best])) best = j;
        }
        std::swap(moves[i], moves[best]);
    } else if (i == kPickedMoves) {
        std::sort(moves.begin() + static_cast<std::ptrdiff_t>(i), moves.end(), comesBefore);
    }
    return moves[i].move;
}

// The working tables of one view of the board, brought up to date when a
// node of that view is evaluated: the board as it stands (the view of a node
// with the lower side to move, which the upper side moved into) or turned
// round (the upper side to move). The tables follow the moves from the node
// they were last brought to: back up the line to where it parts from the
// board's, taking off the rules of each landed piece and putting back those
// of the moved and captured ones, then down the board's line the other way;
// and when the progress differs, the working values and the multiply rules
// move to the new one. Integer sums in any order: the tables equal those
// blended afresh.
class BlendedView {
  public:
    BlendedView(EngineState& e, const RuleIndex& rules, bool turned) : e_(e), rules_(rules), turned_(turned) {}

    // Blends the view afresh for a new root.
    void reset(const Position& root) {
        applied_.clear();
        const Position q = turned_ ? flipPosition(root) : root;
        ComputeProgress(e_, root, progress_);
        Progress own;
        ComputeProgress(e_, q, own);
        BlendTables(e_, q, own);
    }

    EngineState& sync(const SearchBoard& board) {
        const size_t ply = static_cast<size_t>(board.ply());
        size_t common = 0;
        while (common < applied_.size() && common < ply && applied_[common] == board.played(static_cast<int32_t>(common))) {
            ++common;
        }
        while (applied_.size() > common) {
            const MadeMove& m = applied_.back();
            changePiece(m.landed, destinationOf(m.move), -1);
            if (!isDrop(m.move)) changePiece(m.moved, m.move.from, 1);
            changePiece(m.captured, destinationOf(m.move), 1);
            applied_.pop_back();
        }
        for (size_t i = common; i < ply; ++i) {
            const MadeMove& m = board.played(static_cast<int32_t>(i));
            if (!isDrop(m.move)) changePiece(m.moved, m.move.from, -1);
            changePiece(m.captured, destinationOf(m.move), -1);
            changePiece(m.landed, destinationOf(m.move), 1);
            applied_.push_back(m);
        }
        Progress now;
        ComputeProgress(e_, board.position(), now);
        if (now.lower != progress_.lower || now.upper != progress_.upper) moveProgress(board.position(), now);
        return e_;
    }

  private:
    // The progress as this view's tables see it: the turned view's has the
    // sides swapped.
    Progress seen(const Progress& p) const { return turned_ ? Progress{p.total, p.upper, p.lower} : p; }

    // The rules of a piece of the board (as it stands) in this view.
    void applyRules(int32_t code, int32_t square, int32_t total, int32_t sign, bool adds = true) {
        if (turned_) {
            rules_.apply(e_, code ^ kUpperSide, flipSquare(square), total, sign, adds);
        } else {
            rules_.apply(e_, code, square, total, sign, adds);
        }
    }

    void changePiece(int32_t code, int32_t square, int32_t sign) {
        if (!isValidPieceCode(code) || square < kFirstSquare || square > kLastSquare) return;
        applyRules(code, square, progress_.total, sign);
    }

    void moveProgress(const Position& p, const Progress& now) {
        ShiftProgressWeights(e_, seen(progress_), seen(now));
        const int32_t change = now.total - progress_.total;
        if (rules_.multiplies() && change != 0) {
            for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
                const int32_t code = p[sq];
                if (isValidPieceCode(code)) applyRules(code, sq, change, 1, false);
            }
        }
        progress_ = now;
    }

    EngineState& e_;
    const RuleIndex& rules_;
    bool turned_;
    Progress progress_;                // of the board position the tables hold
    std::vector<MadeMove> applied_;  // the moves from the root to it
};

// Both views: the engine's own tables for the board as it stands, a copy's
// for the board turned round.
class BlendedViews {
  public:
    BlendedViews(EngineState& e, const Position& p)
        : turnedEngine_(std::make_unique<EngineState>()), rules_(e), own_(e, rules_, false),
          turned_(*turnedEngine_, rules_, true) {
        CopyEvaluationParts(e, *turnedEngine_);
        reset(p);
    }
    void reset(const Position& p) {
        own_.reset(p);
        turned_.reset(p);
    }
    // The engine whose tables are blended for the board's node, in the view
    // of its side to move.
    EngineState& sync(const SearchBoard& board) {
        return board.sideToMove() == Side::Lower ? own_.sync(board) : turned_.sync(board);
    }

  private:
    std::unique_ptr<EngineState> turnedEngine_;
    RuleIndex rules_;
    BlendedView own_;
    BlendedView turned_;
};

class Searcher {
  public:
    Searcher(EngineState& e, const Position& p, Side toMove, int64_t deadline)
        : e_(e), board_(p, toMove), views_(e, board_.position()), deadline_(deadline),
          history_(2 * kPositionCells * 200, 0) {}

    // One iteration from the root; `lastBest` (the last iteration's best
    // move) is searched first, so that a stopped iteration's principal move
    // is either it or a move that beat it.
    int32_t root(int32_t depth, int32_t alpha, int32_t beta, const Move& lastBest) {
        rootMove_ = lastBest;
        return search(depth, alpha, beta, 0, true);
    }
    bool stopped() const { return stopped_; }
    int64_t nodes() const { return nodes_; }
    int64_t evaluations() const { return evaluations_; }
    const std::vector<Move>& principal() const { return pv_[0]; }
    SearchBoard& board() { return board_; }

    // The static and the quiescence score of another position, with the
    // node scores kept so far.
    QuietScore quietScore(const Position& p, Side toMove) {
        board_ = SearchBoard(p, toMove);
        views_.reset(board_.position());
        stopped_ = false;
        if (board_.inCheck()) return QuietScore{true, 0, 0};
        const int32_t still = evaluate();
        return QuietScore{false, still, quiesce(-kInfinity, kInfinity, 0, 0)};
    }

  private:
    bool timeUp() {
        if (stopped_) return true;
        if (++clock_ % kNodesPerClockCheck != 0) return false;
        if (e_.continueSearch.load(std::memory_order_relaxed) == 0 || e_.stopRequested.load() != 0 ||
            nowMs() > deadline_) {
            stopped_ = true;
        }
        return stopped_;
    }

    // The node's static score, kept by key: quiescence and the pruning
    // tests meet the same positions again and again.
    int32_t evaluate() {
        EvalSlot& slot = evalCache_[board_.key() & (kEvalCacheSize - 1)];
        if (slot.key == board_.key()) return slot.score;
        ++evaluations_;
        const Side toMove = board_.sideToMove();
        const Position& p = board_.position();
        int32_t score = 0;
        if (e_.kingPieceTables.present) {
            score = EvaluateKingPiece(e_, p, toMove);
        } else {
            EngineState& view = views_.sync(board_);
            score = toMove == Side::Lower ? EvaluateBlended(view, p) : EvaluateBlended(view, flipPosition(p));
            // Debug builds check the kept tables against tables blended afresh.
            assert(score == EvaluatePosition(*checker(), p, toMove));
        }
        const int32_t s = std::clamp(score, -kEvalLimit, kEvalLimit);
        slot = EvalSlot{board_.key(), s};
        return s;
    }

#ifndef NDEBUG
    EngineState* checker() {
        if (!checker_) {
            checker_ = std::make_unique<EngineState>();
            CopyEvaluationParts(e_, *checker_);
        }
        return checker_.get();
    }
    std::unique_ptr<EngineState> checker_;
#endif

    SearchTableSlot* probe(uint64_t key) {
        if (e_.searchTable == nullptr) return nullptr;
        SearchTableSlot* bucket = e_.searchTable + (key % static_cast<uint64_t>(e_.searchTableSlots / kBucket)) * kBucket;
        for (int32_t i = 0; i < kBucket; ++i) {
            if (bucket[i].key == key && bucket[i].bound != kBoundNone) return &bucket[i];
        }
        return nullptr;
    }

    void store(uint64_t key, int32_t depth, int32_t score, uint8_t bound, const Move& m, int32_t ply) {
        if (e_.searchTable == nullptr || stopped_) return;
        SearchTableSlot* bucket = e_.searchTable + (key % static_cast<uint64_t>(e_.searchTableSlots / kBucket)) * kBucket;
        SearchTableSlot* slot = &bucket[0];
        for (int32_t i = 0; i < kBucket; ++i) {
            if (bucket[i].key == key || bucket[i].bound == kBoundNone) {
                slot = &bucket[i];
                break;
            }
            if (bucket[i].depth < slot->depth) slot = &bucket[i];
        }
        // A shallower result does not push out a deeper one of the same position.
        if (slot->key == key && slot->depth > depth && bound != kBoundExact) return;
        *slot = SearchTableSlot{key, toTable(score, ply), static_cast<int16_t>(m.from), static_cast<int16_t>(m.to),
                                static_cast<int8_t>(std::min(depth, 127)), bound};
    }

    int64_t& history(const Move& m) {
        const size_t side = board_.sideToMove() == Side::Lower ? 0 : 1;
        return history_[(side * kPositionCells + static_cast<size_t>(m.from)) * 200 + static_cast<size_t>(m.to)];
    }

    // The piece a move lands (by kind, as the side is known) and its
    // square, numbered 0..kPieceSquares - 1.
    static size_t pieceSquare(int32_t kind, int32_t square) {
        return static_cast<size_t>(kind & 15) * 81 + static_cast<size_t>((fileOf(square) - 1) * 9 + rankOf(square) - 1);
    }

    // The row of the continuation history after the move into the node,
    // or null after a null move and at the root.
    int16_t* continuationRow() {
        if (board_.ply() == 0) return nullptr;
        const MadeMove& last = board_.played(board_.ply() - 1);
        if (!last.move.isMove()) return nullptr;
        const size_t side = board_.sideToMove() == Side::Lower ? 0 : 1;
        return &continuation_[(side * kPieceSquares + pieceSquare(last.landed, destinationOf(last.move))) * kPieceSquares];
    }

    // The column of a quiet move in a row of the continuation history.
    size_t landing(const Move& m) const {
        const int32_t kind = isDrop(m) ? m.from - (board_.sideToMove() == Side::Lower ? kLowerHandBase : kUpperHandBase)
                                       : board_.position()[m.from];
        return pieceSquare(kind, destinationOf(m));
    }

    // Both histories move toward the bonus's sign by its size, the more
    // slowly the nearer they are to the limit, so that they stay within it
    // and new cuts count as much as old ones.
    void addHistory(const Move& m, int32_t bonus, int16_t* row) {
        int64_t& h = history(m);
        h += bonus - h * std::abs(bonus) / kHistoryLimit;
        if (row == nullptr) return;
        int16_t& c = row[landing(m)];
        c = static_cast<int16_t>(c + bonus - c * std::abs(bonus) / kHistoryLimit);
    }

    // The quiet move that last cut off right after a move, by that move.
    Move& counterOf(const Move& last) {
        return counters_[static_cast<size_t>(last.from) * 200 + static_cast<size_t>(last.to)];
    }

    // The node's moves with their ordering keys, for nextMove.
    void orderedMoves(const Move& tableMove, int32_t ply, bool capturesOnly, std::vector<Ordered>& out) {
        out.clear();
        const Position& p = board_.position();
        const bool check = board_.inCheck();
        MoveList& list = *scratch_;
        const Move counter = board_.lastMove().isNone() ? Move::none() : counterOf(board_.lastMove());
        const int16_t* row = continuationRow();
        for (const MoveStage stage : {MoveStage::Evasions, MoveStage::Captures, MoveStage::Quiets, MoveStage::Drops}) {
            if (capturesOnly && !check && stage != MoveStage::Captures) continue;
            GenerateStage(p, board_.sideToMove(), check, stage, list);
            for (const Move& m : list) {
                int64_t key = 0;
                const int32_t victim = orderValue(p[destinationOf(m)]);
                if (m == tableMove) {
                    key = std::numeric_limits<int64_t>::max();
                } else if (victim > 0 || isPromotion(m)) {
                    const int32_t attacker = isDrop(m) ? 0 : orderValue(p[m.from]);
                    key = kCaptureKey + victim * 64 - attacker + (isPromotion(m) ? 32 : 0);
                } else if (m == killers_[ply][0]) {
                    key = kKillerKey + 1;
                } else if (m == killers_[ply][1]) {
                    key = kKillerKey;
                } else if (m == counter) {
                    key = kCounterKey;
                } else {
                    key = history(m) + (row != nullptr ? row[landing(m)] : 0);
                }
                out.push_back(Ordered{m, key, static_cast<int32_t>(out.size())});
            }
        }
    }

    // A capture or promotion by a piece worth more than what it takes, onto
    // a square the other side defends: quiescence leaves it out.
    bool losesMaterial(const Move& m) const {
        if (isDrop(m)) return false;
        const Position& p = board_.position();
        const int32_t to = destinationOf(m);
        return orderValue(p[to]) < orderValue(p[m.from]) && isSquareAttacked(p, to, opponentOf(board_.sideToMove()));
    }

    int32_t quiesce(int32_t alpha, int32_t beta, int32_t ply, int32_t qply) {
        ++nodes_;
        pv_[static_cast<size_t>(ply)].clear();
        if (timeUp()) return 0;
        const bool check = board_.inCheck();
        int32_t best = -kInfinity;
        if (!check) {
            best = evaluate();
            if (best >= beta || qply >= kMaxQuiescencePly || ply >= kMaxPly - 1) return best;
            alpha = std::max(alpha, best);
        }
        std::vector<Ordered>& moves = lists_[static_cast<size_t>(ply)];
        orderedMoves(Move::none(), ply, true, moves);
        if (check && moves.empty()) return -kSearchMate + ply;
        for (size_t i = 0; i < moves.size(); ++i) {
            const Move m = nextMove(moves, i);
            if (!check && losesMaterial(m)) continue;
            board_.make(m);
            const int32_t score = -quiesce(-beta, -alpha, ply + 1, qply + 1);
            board_.unmake();
            if (stopped_) return 0;
            if (score > best) {
                best = score;
                if (score > alpha) {
                    alpha = score;
                    if (score >= beta) break;
                }
            }
        }
        return best;
    }

    int32_t search(int32_t depth, int32_t alpha, int32_t beta, int32_t ply, bool pvNode) {
        std::vector<Move>& pv = pv_[static_cast<size_t>(ply)];
        pv.clear();
        if (ply > 0) {
            switch (board_.repetition()) {
                case Repetition::Draw: return 0;
                case Repetition::Win: return kSearchMate - ply;
                case Repetition::Loss: return -kSearchMate + ply;
                case Repetition::None: break;
            }
        }
        const bool check = board_.inCheck();
        if (check && ply < kMaxPly / 2) ++depth;  // a check is answered a ply deeper
        if (depth <= 0 || ply >= kMaxPly - 1) return quiesce(alpha, beta, ply, 0);
        ++nodes_;
        if (timeUp()) return 0;

        const uint64_t key = board_.key();
        Move tableMove = ply == 0 ? rootMove_ : Move::none();
        if (const SearchTableSlot* slot = probe(key)) {
            if (ply > 0 || tableMove.isNone()) tableMove = Move{slot->from, slot->to};
            const int32_t s = fromTable(slot->score, ply);
            if (!pvNode && ply > 0 && slot->depth >= depth &&
                (slot->bound == kBoundExact || (slot->bound == kBoundLower && s >= beta) ||
                 (slot->bound == kBoundUpper && s <= alpha))) {
                return s;
            }
        }
        const bool mateNear = isMateScore(alpha) || isMateScore(beta);
        const int32_t staticEval = check ? -kInfinity : evaluate();
        if (!pvNode && !check && !mateNear) {
            // Far above beta with a few plies left: the side to move keeps it.
            if (depth <= 3 && staticEval - kStaticMargin * depth >= beta) return staticEval;
            // Passing still holds beta: a real move would do better.
            if (depth >= kNullMoveMinDepth && staticEval >= beta && !board_.lastMove().isNone()) {
                const int32_t reduction = 3 + depth / 4;
                board_.makeNull();
                const int32_t s = -search(depth - 1 - reduction, -beta, -beta + 1, ply + 1, false);
                board_.unmakeNull();
                if (stopped_) return 0;
                if (s >= beta) return isMateScore(s) ? beta : s;
            }
        }

        // A deep node the table knows no move of is searched a ply less:
        // its order is a guess, and the next iteration will know the move.
        if (tableMove.isNone() && depth >= 4 && !check) --depth;
        std::vector<Ordered>& moves = lists_[static_cast<size_t>(ply)];
        orderedMoves(tableMove, ply, false, moves);
        if (moves.empty()) return -kSearchMate + ply;  // no move: mated

        const int32_t startAlpha = alpha;
        int32_t best = -kInfinity;
        Move bestMove = Move::none();
        size_t quietsTried = 0;
        // The quiet moves searched, for the history of a cut.
        constexpr size_t kQuietsKept = 64;
        Move quietMoves[kQuietsKept];
        size_t quietCount = 0;
        for (size_t i = 0; i < moves.size(); ++i) {
            const Move m = nextMove(moves, i);
            const bool quiet = board_.position()[destinationOf(m)] == kEmpty && !isPromotion(m);
            const bool remembered = moves[i].key >= kCounterKey && moves[i].key < kCaptureKey;
            board_.make(m);
            const bool givesCheck = board_.inCheck();
            const bool plain = quiet && !givesCheck && !check;
            if (plain) ++quietsTried;
            // The last plies skip the quiet moves that cannot reach alpha,
            // and the late ones once enough were tried.
            if (plain && !pvNode && !mateNear && i > 0 && depth <= 3 &&
                (staticEval + kFutilityMargin[depth] <= alpha || quietsTried > kLateMoveCount[depth])) {
                board_.unmake();
                continue;
            }
            int32_t reduction = 0;
            if (plain && depth >= 3 && i >= 2) {
                // A killer or counter move cut off before: a ply less off.
                reduction = std::clamp(lateMoveReduction(depth, i) - (pvNode ? 1 : 0) - (remembered ? 1 : 0), 0,
                                       depth - 2);
            }
            if (quiet && quietCount < kQuietsKept) quietMoves[quietCount++] = m;
            int32_t score = 0;
            if (i == 0) {
                score = -search(depth - 1, -beta, -alpha, ply + 1, pvNode);
            } else {
                score = -search(depth - 1 - reduction, -alpha - 1, -alpha, ply + 1, false);
                if (score > alpha && reduction > 0 && !stopped_) {
                    score = -search(depth - 1, -alpha - 1, -alpha, ply + 1, false);
                }
                if (score > alpha && score < beta && !stopped_) {
                    score = -search(depth - 1, -beta, -alpha, ply + 1, true);
                }
            }
            board_.unmake();
            if (stopped_) return 0;
            if (score > best) {
                best = score;
                bestMove = m;
                if (score > alpha) {
                    alpha = score;
                    pv.assign(1, m);
                    const std::vector<Move>& child = pv_[static_cast<size_t>(ply + 1)];
                    pv.insert(pv.end(), child.begin(), child.end());
                    if (score >= beta) {
                        if (quiet) {
                            if (killers_[ply][0] != m) {
                                killers_[ply][1] = killers_[ply][0];
                                killers_[ply][0] = m;
                            }
                            if (!board_.lastMove().isNone()) counterOf(board_.lastMove()) = m;
                            // The cut move gains, the quiet moves tried before it lose.
                            int16_t* row = continuationRow();
                            addHistory(m, depth * depth, row);
                            for (size_t q = 0; q + 1 < quietCount; ++q) addHistory(quietMoves[q], -depth * depth, row);
                        }
                        break;
                    }
                }
            }
        }
        const uint8_t bound = best >= beta ? kBoundLower : (best > startAlpha ? kBoundExact : kBoundUpper);
        // When every move failed low, none is known best: the table keeps
        // the move it had.
        store(key, depth, best, bound, bound == kBoundUpper ? tableMove : bestMove, ply);
        return best;
    }

    EngineState& e_;
    SearchBoard board_;
    BlendedViews views_;
    int64_t deadline_;
    Move rootMove_ = Move::none();
    bool stopped_ = false;
    int64_t clock_ = 0;
    int64_t nodes_ = 0;
    int64_t evaluations_ = 0;
    std::vector<int64_t> history_;
    Move killers_[kMaxPly][2]{};
    std::vector<int16_t> continuation_ = std::vector<int16_t>(2 * kPieceSquares * kPieceSquares, 0);
    std::vector<Move> counters_ = std::vector<Move>(size_t{kPositionCells} * 200, Move::none());
    std::vector<Move> pv_[kMaxPly + 1];
    std::vector<Ordered> lists_[kMaxPly + 1];
    std::unique_ptr<MoveList> scratch_ = std::make_unique<MoveList>();
    std::vector<EvalSlot> evalCache_ = std::vector<EvalSlot>(kEvalCacheSize);
};

// The table, made at the first think with the Hash setting's size.
void readyTable(EngineState& e) {
    const int64_t slots = std::max<int64_t>(kBucket, int64_t{std::max(e.hashEntryCount, 1)} * kSearchSlotsPerEntry);
    if (e.searchTable != nullptr && e.searchTableSlots == slots) return;
    std::free(e.searchTable);
    e.searchTable = static_cast<SearchTableSlot*>(std::calloc(static_cast<size_t>(slots), sizeof(SearchTableSlot)));
    e.searchTableSlots = e.searchTable != nullptr ? slots : 0;
}

int32_t reported(int32_t s) {
    if (s >= kSearchMate - 2 * kMaxPly) return kWinScore;
    if (s <= -kSearchMate + 2 * kMaxPly) return kLossScore;
    return s;
}

}  // namespace

int32_t SearchTableUsePermille(const EngineState& state) {
    if (state.searchTable == nullptr || state.searchTableSlots < 1) return 0;
    const int64_t sampled = std::min<int64_t>(state.searchTableSlots, 1000);
    int64_t used = 0;
    for (int64_t i = 0; i < sampled; ++i) used += state.searchTable[i].bound != kBoundNone ? 1 : 0;
    return static_cast<int32_t>(used * 1000 / sampled);
}

std::vector<QuietScore> QuietScores(EngineState& state, const std::vector<std::pair<Position, Side>>& positions) {
    std::vector<QuietScore> out;
    if (positions.empty()) return out;
    state.continueSearch = 1;
    state.stopRequested = 0;
    auto searcher = std::make_unique<Searcher>(state, positions.front().first, positions.front().second,
                                               std::numeric_limits<int64_t>::max());
    out.reserve(positions.size());
    for (const auto& [p, toMove] : positions) out.push_back(searcher->quietScore(p, toMove));
    return out;
}

SecondSearchResult SecondSearch(EngineState& state, const Position& position, Side toMove, int32_t limitMs,
                                int64_t startMs, ThinkObserver& observer, const ThinkSetting& setting,
                                const std::function<Move(const Move&)>& out) {
    readyTable(state);
    state.continueSearch = state.stopRequested ? 0 : 1;
    auto searcher = std::make_unique<Searcher>(state, position, toMove, startMs + limitMs);
    SecondSearchResult result;
    const int32_t maxDepth = std::clamp(state.profile.hukasa / kPlyDepth, 1, kMaxPly / 2);
    const int64_t iterationWindowMs = int64_t{limitMs} * state.profile.zikan_wariai / 100;
    int32_t score = 0;
    for (int32_t depth = 1; depth <= maxDepth; ++depth) {
        if (depth > 1 && nowMs() - startMs > iterationWindowMs) break;
        int32_t alpha = -kInfinity;
        int32_t beta = kInfinity;
        if (depth >= 3 && !isMateScore(score)) {
            alpha = score - kAspiration;
            beta = score + kAspiration;
        }
        int32_t s = searcher->root(depth, alpha, beta, result.move);
        if (!searcher->stopped() && (s <= alpha || s >= beta)) {
            // Above the window the move that got there goes first.
            const std::vector<Move>& high = searcher->principal();
            const Move first = s >= beta && !high.empty() ? high.front() : result.move;
            s = searcher->root(depth, -kInfinity, kInfinity, first);
        }
        const std::vector<Move>& pv = searcher->principal();
        // Of a stopped iteration, the best root move searched to the end
        // (the last best or one that beat it) is played.
        if (searcher->stopped() && depth > 1) {
            if (!pv.empty()) result.move = pv.front();
            break;
        }
        if (pv.empty()) {
            // No move: the side to move is mated.
            if (!searcher->stopped()) result.move = Move::resign();
            result.score = s;
            break;
        }
        score = s;
        result.move = pv.front();
        result.score = s;
        result.depth = depth;
        ThinkIteration report;
        report.depth = depth * kPlyDepth;
        report.score = reported(s);
        report.nodes = static_cast<int32_t>(std::min<int64_t>(searcher->evaluations(), std::numeric_limits<int32_t>::max()));
        report.best = out(pv.front());
        for (const Move& m : pv) report.line.add(out(m));
        report.setting = setting;
        if (observer.wantedCandidates() > 0) {
            report.candidates[0] = RootCandidate{report.best, report.score, report.line};
            report.candidateCount = 1;
        }
        observer.onIteration(report);
        if (isMateScore(s) || searcher->stopped()) break;
    }
    result.nodes = searcher->evaluations();
    state.nodeCount = static_cast<int32_t>(std::min<int64_t>(result.nodes, std::numeric_limits<int32_t>::max()));
    // Every move loses: the engine resigns, as the seed's search does.
    if (result.move.isMove() && result.score <= -kSearchMate + 2 * kMaxPly) result.move = Move::resign();
    return result;
}

}  // namespace nusari
