#include "tune/fit_positions.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <thread>
#include <utility>

#include "analysis/engine_copy.h"
#include "analysis/teacher_position.h"
#include "think/evaluate.h"
#include "think/second_search.h"

namespace nusari {

namespace {

constexpr std::size_t kBlock = 64;
constexpr double kMinScale = 50;
constexpr double kMaxScale = 4000;

// The result for the side to move after the record's last ply.
std::optional<float> resultOfLastMover(GameEnding ending) {
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
    const std::size_t blocks = (positions.size() + kBlock - 1) / kBlock;
    const std::size_t workers =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), std::max<std::size_t>(blocks, 1));
    std::atomic<std::size_t> nextBlock{0};
    auto work = [&]() {
        const auto own = CopyEngineForAnalysis(engine);
        for (;;) {
            const std::size_t block = nextBlock.fetch_add(1);
            if (block >= blocks) break;
            const std::size_t end = std::min(positions.size(), (block + 1) * kBlock);
            for (std::size_t i = block * kBlock; i < end; ++i) {
                scores[i] = EvaluatePosition(*own, positions[i].position, positions[i].toMove);
            }
        }
    };
    std::vector<std::jthread> pool;
    for (std::size_t w = 1; w < workers; ++w) pool.emplace_back(work);
    work();
    return scores;
}

double errorAt(const std::vector<int32_t>& scores, const std::vector<FitPosition>& positions, double scale) {
    if (positions.empty()) return 0;
    double sum = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const double expected = 1.0 / (1.0 + std::pow(10.0, -scores[i] / scale));
        const double miss = positions[i].result - expected;
        sum += miss * miss;
    }
    return sum / static_cast<double>(positions.size());
}

}  // namespace

void AppendFitPositions(const GameRecord& record, std::vector<FitPosition>& out) {
    const std::optional<float> last = resultOfLastMover(record.ending);
    if (!last || record.length <= kFirstAnalysedPly) return;
    const Side lastToMove = standardSideToMove(record, record.length);
    for (int32_t ply = kFirstAnalysedPly; ply < record.length && ply < kHistoryEntries; ++ply) {
        FitPosition f;
        f.position = standardEntry(record, ply);
        f.toMove = standardSideToMove(record, ply);
        f.result = f.toMove == lastToMove ? *last : 1.0f - *last;
        out.push_back(f);
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
    const std::vector<int32_t> scores = staticScores(engine, positions, threads);
    // Golden-section search: the error is unimodal in the scale.
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double low = kMinScale;
    double high = kMaxScale;
    for (int32_t step = 0; step < 40; ++step) {
        const double a = high - ratio * (high - low);
        const double b = low + ratio * (high - low);
        if (errorAt(scores, positions, a) <= errorAt(scores, positions, b)) {
            high = b;
        } else {
            low = a;
        }
    }
    return (low + high) / 2;
}

}  // namespace nusari
