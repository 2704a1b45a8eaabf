#include "tune/king_piece_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <numeric>
#include <random>

#include "aik/aik_rewrite.h"
#include "think/king_piece_eval.h"

namespace nusari {

namespace {

constexpr int32_t kLowerCodes = 16;


// Whether the fit changes the number at `index`: the squares of every
// table, the hands of the kinds that are held, every king-relative value.
bool isFitted(int32_t index) {
    if (index >= kKingPieceFirstIndex) {
        const int32_t table = (index - kKingPieceFirstIndex) / kKingPieceSlots;
        return kingPieceTableOf(kingPieceBlockCode(table)) == table;
    }
    const int32_t code = index / kEvalTableSlots;
    const int32_t slot = index % kEvalTableSlots;
    if (code >= kLowerCodes || kingPieceTableOf(code) != code) return false;  // no table, or the danger map
    if (isSquare(slot)) return true;
    return code >= kRook && code <= kPawn && slot > kHandValueSlot && slot <= kHandValueSlot + kMaxHandCount;
}

// The terms of every position as sparse rows, signed for its side to move.
struct Terms {
    std::vector<uint32_t> first{0};
    std::vector<int32_t> index;
    std::vector<int8_t> sign;
};

Terms termsOf(const std::vector<FitPosition>& positions) {
    Terms t;
    for (const FitPosition& f : positions) {
        const int32_t side = f.toMove == Side::Lower ? 1 : -1;
        ForEachKingPieceTerm(f.position, [&](int32_t index, int32_t sign) {
            t.index.push_back(index);
            t.sign.push_back(static_cast<int8_t>(sign * side));
        });
        t.first.push_back(static_cast<uint32_t>(t.index.size()));
    }
    return t;
}

std::string blockText(const EngineState& engine, int32_t code, const char* eol) {
    const int32_t table = kingPieceTableOf(code);
    std::string text = "set ou[" + std::to_string(code) + "]" + eol;
    for (int32_t row = 0; row < kKingPieceRows; ++row) {
        for (int32_t file = 0; file < kKingPieceFiles; ++file) {
            char cell[16];
            std::snprintf(cell, sizeof cell, file == 0 ? "%5d" : ",%5d",
                          engine.kingPieceTables.value[table][row * kKingPieceFiles + file]);
            text += cell;
        }
        text += eol;
    }
    text += "}";
    text += eol;
    return text;
}

}  // namespace

int32_t FitKingPieceNumbers(EngineState& engine, const std::vector<FitPosition>& training, double scale,
                            const KingPieceFitSettings& settings, std::FILE* progress) {
    engine.kingPieceTables.present = true;
    const Terms terms = termsOf(training);
    std::vector<double> value(kKingPieceEvalIndices);
    std::vector<double> loaded(kKingPieceEvalIndices);
    std::vector<int32_t> fitted;
    for (int32_t i = 0; i < kKingPieceEvalIndices; ++i) {
        value[i] = loaded[i] = KingPieceNumber(engine, i);
        if (isFitted(i)) fitted.push_back(i);
    }
    std::vector<double> gradient(kKingPieceEvalIndices, 0);
    std::vector<double> moment(kKingPieceEvalIndices, 0);
    std::vector<double> square(kKingPieceEvalIndices, 0);
    std::vector<std::size_t> order(training.size());
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 random(settings.seed);
    const double slope = std::log(10.0) / scale;
    const double beta1 = 0.9;
    const double beta2 = 0.999;
    int64_t steps = 0;
    for (int32_t epoch = 0; epoch < settings.epochs; ++epoch) {
        std::shuffle(order.begin(), order.end(), random);
        double error = 0;
        for (std::size_t start = 0; start < order.size(); start += static_cast<std::size_t>(settings.batch)) {
            const std::size_t end = std::min(order.size(), start + static_cast<std::size_t>(settings.batch));
            for (std::size_t k = start; k < end; ++k) {
                const std::size_t n = order[k];
                double score = 0;
                for (uint32_t j = terms.first[n]; j < terms.first[n + 1]; ++j) score += terms.sign[j] * value[terms.index[j]];
                const double expected = 1.0 / (1.0 + std::exp(-slope * score));
                const double miss = training[n].target - expected;
                error += miss * miss;
                const double dScore = -2 * miss * expected * (1 - expected) * slope / static_cast<double>(end - start);
                for (uint32_t j = terms.first[n]; j < terms.first[n + 1]; ++j) gradient[terms.index[j]] += dScore * terms.sign[j];
            }
            ++steps;
            const double correction1 = 1 - std::pow(beta1, static_cast<double>(steps));
            const double correction2 = 1 - std::pow(beta2, static_cast<double>(steps));
            for (const int32_t i : fitted) {
                moment[i] = beta1 * moment[i] + (1 - beta1) * gradient[i];
                square[i] = beta2 * square[i] + (1 - beta2) * gradient[i] * gradient[i];
                gradient[i] = 0;
                const double step = (moment[i] / correction1) / (std::sqrt(square[i] / correction2) + 1e-12);
                value[i] -= settings.rate * step + settings.pull * (value[i] - loaded[i]);
            }
        }
        if (progress != nullptr) {
            std::fprintf(progress, "epoch %d: training error %.6f\n", epoch + 1,
                         error / static_cast<double>(std::max<std::size_t>(1, training.size())));
            std::fflush(progress);
        }
    }
    AikNumber any;
    any.kind = AikNumberKind::KingPieceSlot;
    const ValueRange range = ValidRange(any);  // as the file can hold them
    for (const int32_t i : fitted) {
        KingPieceNumber(engine, i) = std::clamp(static_cast<int32_t>(std::lround(value[i])), range.min, range.max);
    }
    return static_cast<int32_t>(fitted.size());
}

bool KingPieceFile(const std::string& path, const std::string& bytes, const std::vector<AikNumber>& numbers,
                   const EngineState& engine, std::string& out) {
    std::vector<int32_t> values;
    bool inFile[kKingPieceTables] = {};
    for (const AikNumber& n : numbers) {
        int32_t v = n.value;
        if (n.kind == AikNumberKind::TableSlot && n.code < kLowerCodes) {
            v = KingPieceNumber(engine, n.code * kEvalTableSlots + n.index);
        } else if (n.kind == AikNumberKind::KingPieceSlot) {
            const int32_t table = kingPieceTableOf(n.code);
            v = engine.kingPieceTables.value[table][n.index];
            inFile[table] = true;
        }
        values.push_back(v);
    }
    std::string rewritten;
    if (!RewriteAikNumbersChecked(path, bytes, numbers, values, rewritten)) return false;
    std::string blocks;
    const char* eol = rewritten.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    for (int32_t table = 0; table < kKingPieceTables; ++table) {
        const int32_t code = kingPieceBlockCode(table);
        if (kingPieceTableOf(code) == table && !inFile[table]) blocks += blockText(engine, code, eol);
    }
    if (!blocks.empty()) {
        if (std::none_of(std::begin(inFile), std::end(inFile), [](bool b) { return b; })) {
            blocks = std::string("' King-relative piece values: rows are the rank offset -8..8 from the king") +
                     " (toward the other side first), columns the file distance 0..8;" + eol +
                     "' set ou[N] for the king's own piece N, set ou[N+32] for the other side's;" + eol +
                     "' set ou[0] for the squares around the king by the other side's attacks." + eol + blocks;
        }
        std::size_t at = rewritten.find(std::string(eol) + "find koma[");
        if (at == std::string::npos) {
            if (!rewritten.empty() && rewritten.back() != '\n') rewritten += eol;
            at = rewritten.size();
        } else {
            at += std::string(eol).size();
        }
        rewritten.insert(at, blocks);
    }
    out = std::move(rewritten);
    return true;
}

}  // namespace nusari
