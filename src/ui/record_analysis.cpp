#include "ui/record_analysis.h"

#include <utility>

#include "aik/aik_loader.h"
#include "game/position_scorers.h"
#include "position/text_encoding.h"
#include "settings/usi_engines.h"
#include "think/hash_tables.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

namespace {

std::string tallyText(const char* mark, const SideTally& t) {
    std::string text = mark;
    for (int32_t i = 1; i < kMoveLabelCount; ++i) {
        text.append(" ").append(MoveLabelText(static_cast<MoveLabel>(i)));
        text.append(std::to_string(t.labels[static_cast<std::size_t>(i)]));
    }
    return text;
}

// Loads the engine on the worker thread and judges the line; the engine
// goes when it is done.
void analyse(RunningAnalysis& a, const std::vector<UsiEngineEntry>& usiEngines, int32_t hashEntries,
             Ui& ui) {
    PositionScorer scorer;
    std::string engineName;
    if (const std::optional<std::string> name = UsiEngineName(a.request.enginePath)) {
        const UsiEngineEntry* entry = FindUsiEngine(usiEngines, *name);
        EngineCommand command;
        std::string error;
        if (entry == nullptr || !UsiCommandOf(*entry, command)) {
            a.error = kAnalysisEngineFailed + *name;
            return;
        }
        a.usi = std::make_unique<UsiEngine>(command, kUsiHandshakeMs);
        a.usi->stopWanted = [&a] { return a.stop.load(); };
        if (!a.usi->start(error) || !a.usi->newGame(error)) {
            a.error = std::string(kAnalysisEngineFailed).append(*name).append("\n").append(error);
            return;
        }
        engineName = *name;
        scorer = UsiScorer(*a.usi, a.request.moveTimeMs);
    } else {
        EngineState& e = *a.engine;
        e.hashEntryCount = hashEntries;
        if (LoadAik(e, a.request.enginePath, ui) != 1 || AllocHashTables(e, ui) != 1) {
            a.error = kAnalysisEngineFailed + a.request.enginePath;
            return;
        }
        e.bookTable.clear();  // a book move has no score to judge by
        engineName = toUtf8(e.profile.namae);
        scorer = AikScorer(e, a.request.moveTimeMs);
    }
    AnnotationSettings settings;
    settings.firstPly = a.request.firstPly;
    settings.lastPly = a.request.lastPly;
    settings.fromTheEnd = a.request.fromTheEnd;
    settings.scale = a.request.winRateScale;
    settings.thresholds = a.request.thresholds;
    settings.engineName = engineName;
    a.summary = AnnotateLine(a.tree, a.end, scorer, settings, [&](int32_t done, int32_t total) {
        std::string text = kAnalysingRecord;
        text.append(std::to_string(done)).append(" / ").append(std::to_string(total));
        ui.setPanelText(text);
        return !a.stop.load();
    });
    if (a.usi) a.usi->stop();
    FreeHashTables(*a.engine);
}

}  // namespace

bool GameController::StartRecordAnalysis(const RecordAnalysisRequest& request) {
    if (gameState != GameState::NoGame || analysis_ || line_.empty()) return false;
    StopStudy();
    auto run = std::make_shared<RunningAnalysis>();
    run->request = request;
    run->request.winRateScale = analysisPrefs.winRateScale;
    run->request.thresholds = analysisPrefs.thresholds;
    run->tree = tree;
    run->end = line_.back();
    analysis_ = run;
    ui.setControls(ControlSet::Analysing);
    ui.setPanelText(kAnalysingRecord);
    DrawBoard();
    runThink(
        [run, engines = usiEngines, hash = engine->hashEntryCount](Ui& thinkUi) {
            analyse(*run, engines, hash, thinkUi);
        },
        [this, run] { finishRecordAnalysis(*run); });
    return true;
}

void GameController::StopRecordAnalysis() {
    if (!analysis_) return;
    analysis_->stop = true;
    analysis_->engine->stopRequested = 1;
}

// The record was not edited meanwhile: the copy's nodes are the tree's.
void GameController::finishRecordAnalysis(RunningAnalysis& run) {
    analysis_.reset();
    bool changed = false;
    for (NodeId id = 0; id < std::min(tree.nodeCount(), run.tree.nodeCount()); ++id) {
        if (tree.node(id).comment == run.tree.node(id).comment) continue;
        tree.node(id).comment = std::move(run.tree.node(id).comment);
        changed = true;
    }
    if (changed) recordChanged_ = true;
    ui.setControls(ControlSet::NoGame);
    DrawBoard();
    if (!run.error.empty()) {
        ui.setPanelText("");
        showError(ui, run.error);
        return;
    }
    std::string text = run.stop ? kAnalysisStopped : kAnalysisDone;
    text.append("\n").append(tallyText("▲", run.summary.sente));
    text.append("\n").append(tallyText("△", run.summary.gote));
    ui.setPanelText(text);
}

}  // namespace nusari
