#include "game/position_scorers.h"

#include <algorithm>

#include "position/legal_moves.h"
#include "position/position.h"
#include "position/sfen.h"
#include "records/comment_scores.h"
#include "think/candidate.h"
#include "think/clock.h"
#include "think/think_move.h"

namespace nusari {

namespace {

// How long past its time a USI engine may take to answer.
constexpr int64_t kAnswerGraceMs = 5000;

// The last iteration and the end of an .aik think.
class Capture : public ThinkObserver {
  public:
    void onIteration(const ThinkIteration& iteration) override {
        if (iteration.best.isMove()) last = iteration;
        seen = seen || iteration.best.isMove();
    }
    void onResult(const ThinkResult& r) override { result = r; }
    bool seen = false;
    ThinkIteration last;
    ThinkResult result;
};

// Decided scores as the comments write them.
int32_t commentScore(int64_t score) {
    if (score >= kWinScore) return kCommentMateScore;
    if (score <= kLossScore) return -kCommentMateScore;
    return static_cast<int32_t>(std::clamp<int64_t>(score, -kCommentMateScore, kCommentMateScore));
}

}  // namespace

PositionScorer AikScorer(EngineState& state, int32_t moveTimeMs) {
    return [&state, moveTimeMs](const Position& p, Side toMove) -> std::optional<PositionScore> {
        MoveList legal;
        generateLegalMoves(p, toMove, legal);
        if (legal.count == 0) return PositionScore{-kCommentMateScore, {}, 0};
        ThinkRequest request;
        request.position = p;
        request.toMove = toMove;
        request.limits.moveTimeMs = std::max(moveTimeMs, kMinTimeLimitMs);
        request.limits.startMs = nowMs();
        Capture capture;
        const Move played = ThinkMove(state, request, capture);
        PositionScore s;
        // A mate found, or a position given up (resigned after a search, or
        // lost at once), is decided whatever the last iteration said.
        if (capture.result.end == ThinkEnd::Won && played.isMove()) {
            s.score = kCommentMateScore;
            s.line.push_back(played);
        } else if (capture.result.end == ThinkEnd::Lost || played.isResign()) {
            s.score = -kCommentMateScore;
        } else if (capture.seen) {
            s.score = commentScore(capture.last.score);
            s.line.assign(capture.last.line.begin(), capture.last.line.end());
            if (s.line.empty()) s.line.push_back(capture.last.best);
            s.depth = capture.last.depth / 10;
        } else if (played.isMove()) {
            s.score = commentScore(capture.result.score);
            s.line.push_back(played);
        } else {
            return std::nullopt;
        }
        return s;
    };
}

PositionScorer UsiScorer(UsiEngine& engine, int32_t moveTimeMs) {
    return [&engine, moveTimeMs](const Position& p, Side toMove) -> std::optional<PositionScore> {
        std::vector<std::string> pv;
        int32_t depth = 0;
        engine.onInfo = [&](const EngineLine& line) {
            if (!line.pv.empty()) pv = line.pv;
            if (line.depth > 0) depth = line.depth;
        };
        const UsiEngine::Answer answer =
            engine.think("position sfen " + toSfen(p, toMove, 1),
                         "go movetime " + std::to_string(moveTimeMs), moveTimeMs + kAnswerGraceMs);
        engine.onInfo = nullptr;
        // A silent engine is stopped, or shut down when it stays silent, so
        // that the next position does not wait for it again.
        if (answer.kind == UsiEngine::Answer::Kind::NoAnswer) engine.settle(2000);
        if (answer.kind != UsiEngine::Answer::Kind::Word || !answer.hasScore) return std::nullopt;
        PositionScore s;
        s.score = std::clamp(answer.score, -kCommentMateScore, kCommentMateScore);
        s.line = usiMoveLine(p, toMove, pv);
        if (s.line.empty()) s.line = usiMoveLine(p, toMove, {answer.word});
        s.depth = depth;
        return s;
    };
}

}  // namespace nusari
