#include "analysis/engine_copy.h"

namespace nusari {

void CopyAnalysisParts(const EngineState& source, EngineState& target) { CopyEvaluationParts(source, target); }

std::unique_ptr<EngineState> CopyEngineForAnalysis(const EngineState& source) {
    auto copy = std::make_unique<EngineState>();
    CopyAnalysisParts(source, *copy);
    return copy;
}

}  // namespace nusari
