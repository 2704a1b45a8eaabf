#include "tune/fit_positions.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "analysis/engine_workers.h"
#include "analysis/teacher_position.h"
#include "position/position.h"
#include "records/comment_scores.h"
#include "think/evaluate.h"
#include "think/second_search.h"

namespace nusari {

namespace {

constexpr std::size_t kBlock = 64;
constexpr double kMinScale = 50;
constexpr double kMaxScale = 4000;
// Teachers' scores beyond this announce mates: no use to a fit.
constexpr int32_t kMaxTeacherScore = 30000;

// The result for the side to move after the record's last ply.
std::optional<float> resultOfSideToMoveAtEnd(GameEnding ending) {
    switch (ending) {
        case GameEnding::Resign:
        case GameEnding::Mate:
        case GameEnding::TimeUp:
        case GameEnding::FoulLoss:
        case GameEnding::PerpetualCheck:
        case GameEnding::BadDeclaration:
        case GameEnding::PlayerGone:
        case GameEnding::NoAnswer:
            return 0.0f;
        case GameEnding::FoulWin:
        case GameEnding::EnteringKingWin:
            return 1.0f;
        case GameEnding::Repetition:
        case GameEnding::Impasse:
        case GameEnding::Draw:
        case GameEnding::PlyLimit:
            return 0.5f;
        case GameEnding::None:
        case GameEnding::Interrupt:
            break;
    }
    return std::nullopt;
}

// The engine's static score of every position, on several threads.
std::vector<int32_t> staticScores(const EngineState& engine, const std::vector<FitPosition>& positions,
                                  int32_t threads) {
    std::vector<int32_t> scores(positions.size());
    ForEachOnEngineCopies(engine, positions.size(), kBlock, threads, [&](EngineState& own, std::size_t i, std::size_t) {
        scores[i] = EvaluatePosition(own, positions[i].position, positions[i].toMove);
    });
    return scores;
}

double expectedResult(double score, double scale) { return 1.0 / (1.0 + std::pow(10.0, -score / scale)); }

// The mean squared miss of `scores` at `scale`, against the targets or the
// results.
double errorAt(const std::vector<int32_t>& scores, const std::vector<FitPosition>& positions, double scale,
               bool results = false) {
    if (positions.empty()) return 0;
    double sum = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const double miss = (results ? positions[i].result : positions[i].target) - expectedResult(scores[i], scale);
        sum += miss * miss;
    }
    return sum / static_cast<double>(positions.size());
}

// Golden-section search for the scale of least error: unimodal in it.
double bestScale(const std::vector<int32_t>& scores, const std::vector<FitPosition>& positions, bool results) {
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double low = kMinScale;
    double high = kMaxScale;
    for (int32_t step = 0; step < 40; ++step) {
        const double a = high - ratio * (high - low);
        const double b = low + ratio * (high - low);
        if (errorAt(scores, positions, a, results) <= errorAt(scores, positions, b, results)) {
            high = b;
        } else {
            low = a;
        }
    }
    return (low + high) / 2;
}

}  // namespace

void AppendFitPositions(const RecordTree& record, std::vector<FitPosition>& out) {
    const NodeId end = record.mainLineEnd();
    const std::optional<float> atEnd = resultOfSideToMoveAtEnd(record.ending());
    if (!atEnd || record.node(end).ply <= kFirstAnalysedPly) return;
    const Side lastToMove = record.sideToMoveAt(end);
    Position p = record.start();
    Side toMove = record.firstMover();
    for (const NodeId id : record.mainLine()) {
        const RecordNode& node = record.node(id);
        applyMove(p, toMove, node.move);
        toMove = opponentOf(toMove);
        if (node.ply < kFirstAnalysedPly || id == end) continue;
        FitPosition f;
        f.position = p;
        f.position[kLowerTimeCell] = 0;
        f.position[kUpperTimeCell] = 0;
        f.toMove = toMove;
        f.result = toMove == lastToMove ? *atEnd : 1.0f - *atEnd;
        if (const std::optional<int32_t> score = ScoresOfNode(node).played) {
            f.hasTeacher = std::abs(*score) < kMaxTeacherScore;
            f.teacher = toMove == Side::Lower ? *score : -*score;
        }
        f.target = f.result;
        out.push_back(f);
    }
}

double TeacherScale(const std::vector<FitPosition>& positions) {
    std::vector<FitPosition> taught;
    std::vector<int32_t> scores;
    for (const FitPosition& f : positions) {
        if (!f.hasTeacher) continue;
        taught.push_back(f);
        scores.push_back(f.teacher);
    }
    return taught.empty() ? 0 : bestScale(scores, taught, true);
}

void SetFitTargets(std::vector<FitPosition>& positions, double teacherScale, int32_t scoreWeightPercent) {
    const double w = std::clamp(scoreWeightPercent, 0, 100) / 100.0;
    for (FitPosition& f : positions) {
        f.target = f.result;
        if (f.hasTeacher && teacherScale > 0) {
            f.target = static_cast<float>((1 - w) * f.result + w * expectedResult(f.teacher, teacherScale));
        }
    }
}

void KeepQuietPositions(EngineState& engine, std::vector<FitPosition>& positions) {
    std::vector<std::pair<Position, Side>> asked;
    asked.reserve(positions.size());
    for (const FitPosition& f : positions) asked.emplace_back(f.position, f.toMove);
    const std::vector<QuietScore> scores = QuietScores(engine, asked);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (!scores[i].inCheck && scores[i].quiescence == scores[i].evaluation) positions[kept++] = positions[i];
    }
    positions.resize(kept);
}

double FitError(const EngineState& engine, const std::vector<FitPosition>& positions, double scale,
                int32_t threads) {
    return errorAt(staticScores(engine, positions, threads), positions, scale);
}

double BestFitScale(const EngineState& engine, const std::vector<FitPosition>& positions, int32_t threads) {
    return bestScale(staticScores(engine, positions, threads), positions, false);
}

}  // namespace nusari
