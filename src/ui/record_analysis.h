// 棋譜解析 in the window: the line shown judged by an engine of the engine
// list (.aik or a registered USI engine) on the worker thread, the window
// working meanwhile (the record is not edited until the analysis ends), the
// comments then taken into the record.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "aik/engine_state.h"
#include "analysis/record_annotation.h"
#include "usi/usi_engine.h"

namespace nusari {

struct RecordAnalysisRequest {
    std::string enginePath;  // a path of the engine list: an .aik file or "USI:<name>"
    int32_t moveTimeMs = 1000;
    int32_t firstPly = 1;
    int32_t lastPly = kMaxRecordPlies;
    bool fromTheEnd = false;
    // Not empty: every record of this folder (UTF-8) instead of the line
    // shown, each analysed one written beside it as NAME-解析.kifu.
    std::string folder;
    // The analysis settings' win rate scale and label thresholds.
    double winRateScale = 600;
    LabelThresholds thresholds;
};

// What the worker thread works on: a copy of the tree, its own engine.
struct RunningAnalysis {
    RecordAnalysisRequest request;
    RecordTree tree;
    NodeId end = kRootNode;
    std::atomic<bool> stop{false};
    // Made before the work starts, so that a stop can reach its search.
    std::unique_ptr<EngineState> engine = std::make_unique<EngineState>();
    std::unique_ptr<UsiEngine> usi;
    AnnotationSummary summary;
    std::string error;  // UTF-8; empty when the engine ran
    // How far it is, in permille, for the progress bar.
    std::atomic<int32_t> permille{0};
    // A folder's records: analysed, skipped, failed (with the first failure).
    int32_t filesDone = 0;
    int32_t filesSkipped = 0;
    int32_t filesFailed = 0;
    std::string firstFailure;
};

}  // namespace nusari
