#include "ui/record_analysis.h"

#include <cstdio>
#include <filesystem>
#include <utility>

#include "aik/aik_loader.h"
#include "analysis/file_annotation.h"
#include "analysis/hit_analysis.h"
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
    char loss[48];
    std::snprintf(loss, sizeof loss, " 平均損失%.1f", t.averageLoss());
    return text.append(loss);
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
    // Positions the engine gave no score for.
    int32_t unscored = 0;
    scorer = [inner = std::move(scorer), &unscored](const Position& p, Side toMove) {
        std::optional<PositionScore> s = inner(p, toMove);
        if (!s) ++unscored;
        return s;
    };
    AnnotationSettings settings;
    settings.firstPly = a.request.firstPly;
    settings.lastPly = a.request.lastPly;
    settings.fromTheEnd = a.request.fromTheEnd;
    settings.scale = a.request.winRateScale;
    settings.thresholds = a.request.thresholds;
    settings.engineName = engineName;
    // Tells the panel and the progress bar; file `file` of `files`.
    const auto progress = [&](int32_t file, int32_t files, const std::string& name) {
        return [&a, &ui, file, files, name](int32_t done, int32_t total) {
            std::string text = kAnalysingRecord;
            if (files > 1) text.append(std::to_string(file + 1)).append("/").append(std::to_string(files)).append(" ");
            if (!name.empty()) text.append(name).append(" ");
            text.append(std::to_string(done)).append(" / ").append(std::to_string(total));
            ui.setPanelText(text);
            const double part = total > 0 ? double(done) / total : 0;
            a.permille = static_cast<int32_t>(1000 * (file + part) / std::max(files, 1));
            return !a.stop.load();
        };
    };
    if (a.request.folder.empty()) {
        a.summary = AnnotateLine(a.tree, a.end, scorer, settings, progress(0, 1, ""));
        // The engine died, stayed silent or gave no score somewhere.
        if (unscored > 0 && !a.stop.load()) a.error = kAnalysisNoScore + engineName;
    } else {
        const std::vector<std::string> files = TeacherGames(a.request.folder);
        for (size_t i = 0; i < files.size() && !a.stop.load(); ++i) {
            const std::string name = std::filesystem::path(files[i]).filename().string();
            const FileAnnotation done = AnnotateRecordFile(
                files[i], AnalysedRecordPath(files[i], "", true), true, scorer, settings,
                progress(static_cast<int32_t>(i), static_cast<int32_t>(files.size()), name), ui);
            if (done.kind == FileAnnotation::Kind::Done) ++a.filesDone;
            if (done.kind == FileAnnotation::Kind::Skipped) ++a.filesSkipped;
            if (done.failed() && !a.stop.load()) {
                const std::string why = done.kind == FileAnnotation::Kind::NoScore
                                            ? kAnalysisNoScore
                                            : (done.kind == FileAnnotation::Kind::NotWritten ? kAnalysisNotWritten
                                                                                             : done.error);
                if (a.filesFailed++ == 0) a.firstFailure = name + ": " + why;
            }
        }
    }
    if (a.usi) a.usi->stop();
    FreeHashTables(*a.engine);
}

}  // namespace

bool GameController::StartRecordAnalysis(const RecordAnalysisRequest& request) {
    if (gameState != GameState::NoGame || analysis_ || tournament_ || (line_.empty() && request.folder.empty())) return false;
    StopStudy();
    auto run = std::make_shared<RunningAnalysis>();
    run->request = request;
    run->request.winRateScale = analysisPrefs.winRateScale;
    run->request.thresholds = analysisPrefs.thresholds;
    run->tree = tree;
    run->end = line_.empty() ? kRootNode : line_.back();
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

int32_t GameController::AnalysisPermille() const {
    return analysis_ ? analysis_->permille.load() : -1;
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
    const bool folder = !run.request.folder.empty();
    for (NodeId id = 0; !folder && id < std::min(tree.nodeCount(), run.tree.nodeCount()); ++id) {
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
    if (folder) {
        text.append("\n").append(kFolderAnalysed).append(std::to_string(run.filesDone));
        text.append("\n").append(kFolderSkipped).append(std::to_string(run.filesSkipped));
        text.append("\n").append(kFolderFailed).append(std::to_string(run.filesFailed));
        if (!run.firstFailure.empty()) text.append("\n").append(run.firstFailure);
        ui.setPanelText(text);
        return;
    }
    text.append("\n").append(tallyText("▲", run.summary.sente));
    text.append("\n").append(tallyText("△", run.summary.gote));
    ui.setPanelText(text);
}

}  // namespace nusari
