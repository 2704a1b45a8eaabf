// 検討 in the window: the analysers follow the position shown, their
// reports become panes and arrows, and a line can be previewed on the
// board or taken into the record.
#include <algorithm>

#include "aik/aik_loader.h"
#include "analysis/record_annotation.h"
#include "position/position.h"
#include "position/sfen.h"
#include "settings/usi_engines.h"
#include "study/analysers.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

bool GameController::StartStudy(const std::vector<std::string>& enginePaths) {
    if (gameState != GameState::NoGame || analysis_ || tournament_ || Studying() || enginePaths.empty()) return false;
    for (const std::string& path : enginePaths) {
        std::unique_ptr<LiveAnalyser> a;
        if (const std::optional<std::string> name = UsiEngineName(path)) {
            const UsiEngineEntry* entry = FindUsiEngine(usiEngines, *name);
            EngineCommand command;
            if (entry == nullptr || !UsiCommandOf(*entry, command)) {
                showError(ui, kAnalysisEngineFailed + *name);
                continue;
            }
            if (command.name.empty()) command.name = *name;
            a = StartUsiAnalyser(command, usiHandshakeMs, analysisPrefs.studyLines);
        } else {
            a = StartAikAnalyser(path, engine->hashEntryCount, analysisPrefs.studyLines);
        }
        studies_.push_back(std::move(a));
        studySeen_.push_back(0);
        studyPaths_.push_back(path);
    }
    if (!Studying()) return false;
    studyScores_.clear();
    followStudy();
    ui.studyChanged();
    return true;
}

void GameController::StopStudy() {
    if (!Studying()) return;
    // The analysers end on their own threads; the window goes on at once.
    studies_.clear();
    studySeen_.clear();
    studyPaths_.clear();
    shownArrows_.clear();
    EndPreview();
    ui.studyChanged();
    DrawBoard();
}

void GameController::followStudy() {
    if (!Studying() || gameState != GameState::NoGame) return;
    const ShownSetUpPosition shown = ShownSetUp();
    for (const std::unique_ptr<LiveAnalyser>& a : studies_) a->channel().analyse(shown.position, shown.toMove);
}

std::optional<AnalyserReport> GameController::currentReport(int32_t pane) const {
    if (pane < 0 || pane >= static_cast<int32_t>(studies_.size())) return std::nullopt;
    AnalyserReport report = studies_[static_cast<size_t>(pane)]->channel().report();
    const ShownSetUpPosition shown = ShownSetUp();
    if (report.serial == 0 || report.position != shown.position || report.toMove != shown.toMove) {
        return std::nullopt;
    }
    return report;
}

void GameController::OnStudyTick() {
    bool changed = false;
    for (size_t i = 0; i < studies_.size(); ++i) {
        const uint64_t number = studies_[i]->channel().reportNumber();
        if (number == studySeen_[i]) continue;
        studySeen_[i] = number;
        changed = true;
    }
    if (!changed) return;
    ui.studyChanged();
    std::vector<StudyArrow> arrows;
    bool graphChanged = false;
    if (const std::optional<AnalyserReport> first = currentReport(0)) {
        arrows = StudyArrowsOf(*first, analysisPrefs.scoreFromSente);
        if (!first->lines.empty()) {
            const CandidateLine& best = first->lines[0];
            const int32_t sente = first->toMove == Side::Upper ? -best.score : best.score;
            int32_t& kept = studyScores_[toSfen(first->position, first->toMove, 1)];
            graphChanged = kept != sente;
            kept = sente;
        }
    }
    const auto same = [](const StudyArrow& a, const StudyArrow& b) {
        return a.move == b.move && a.rank == b.rank && a.label == b.label;
    };
    if (graphChanged || !std::equal(arrows.begin(), arrows.end(), shownArrows_.begin(), shownArrows_.end(), same)) {
        shownArrows_ = std::move(arrows);
        ui.drawBoard();
    }
}

std::vector<StudyPaneView> GameController::ShownStudy() const {
    std::vector<StudyPaneView> panes;
    const ShownSetUpPosition shown = ShownSetUp();
    for (const std::unique_ptr<LiveAnalyser>& a : studies_) {
        const AnalyserReport report = a->channel().report();
        const bool current = report.position == shown.position && report.toMove == shown.toMove;
        panes.push_back(StudyPaneOf(report, analysisPrefs.scoreFromSente, current));
    }
    return panes;
}

// The arrows in the controller's frame, none while a line is previewed.
std::vector<ArrowMove> GameController::studyArrows() const {
    std::vector<ArrowMove> moves;
    if (preview_ || gameState != GameState::NoGame) return moves;
    for (const StudyArrow& a : shownArrows_) {
        moves.push_back(ArrowMove{record->boardTurned != 0 ? flipMove(a.move) : a.move, a.rank, a.label});
    }
    return moves;
}

void GameController::SetStudyLineCount(int32_t lines) {
    AnalysisPrefs prefs = analysisPrefs;
    prefs.studyLines = std::clamp(lines, 1, kMaxStudyLines);
    SetAnalysisPrefs(prefs);
    for (const std::unique_ptr<LiveAnalyser>& a : studies_) a->channel().setLineCount(prefs.studyLines);
}

void GameController::SetStudyScoreFromSente(bool fromSente) {
    AnalysisPrefs prefs = analysisPrefs;
    prefs.scoreFromSente = fromSente;
    SetAnalysisPrefs(prefs);
    shownArrows_.clear();
    std::fill(studySeen_.begin(), studySeen_.end(), 0);
    OnStudyTick();
}

void GameController::SetAnalysisPrefs(const AnalysisPrefs& prefs) {
    if (prefs == analysisPrefs) return;
    analysisPrefs = prefs;
    WriteAnalysisPrefs(store, prefs);
}

void GameController::PreviewStudyLine(int32_t pane, int32_t row) {
    const std::optional<AnalyserReport> report = currentReport(pane);
    if (!report || row < 0 || row >= static_cast<int32_t>(report->lines.size())) return;
    const std::vector<Move>& moves = report->lines[static_cast<size_t>(row)].moves;
    if (moves.empty()) return;
    preview_ = LinePreview{report->position, report->toMove, moves, 1};
    showPreview();
}

void GameController::EndPreview() {
    if (!preview_) return;
    preview_.reset();
    ui.setPanelText(kReplayText);
    DrawBoard();
}

void GameController::stepPreview(ReplayStep step) {
    LinePreview& p = *preview_;
    const int32_t last = static_cast<int32_t>(p.moves.size());
    switch (step) {
        case ReplayStep::ToStart: p.shown = 0; break;
        case ReplayStep::Back: p.shown = std::max(0, p.shown - 1); break;
        case ReplayStep::Forward: p.shown = std::min(last, p.shown + 1); break;
        case ReplayStep::ToEnd: p.shown = last; break;
    }
    showPreview();
}

// The board at the previewed move; the panel tells which.
void GameController::showPreview() {
    const LinePreview& p = *preview_;
    const int32_t last = static_cast<int32_t>(p.moves.size());
    std::string text = kPreviewText;
    text.append(std::to_string(p.shown)).append(" / ").append(std::to_string(last));
    if (p.shown > 0) {
        const std::vector<Move> before(p.moves.begin(), p.moves.begin() + p.shown - 1);
        Position at = p.start;
        Side toMove = p.toMove;
        for (const Move& m : before) {
            applyMove(at, toMove, m);
            toMove = opponentOf(toMove);
        }
        text.append("\n").append(LineText(at, toMove, {p.moves[static_cast<size_t>(p.shown - 1)]}));
    }
    text.append("\n").append(kPreviewHint);
    DrawBoard();
    ui.setPanelText(text);
}

// The previewed position in the controller's frame, and the destination
// of its last move there.
Position GameController::previewPosition(int32_t& lastDestination) const {
    const LinePreview& p = *preview_;
    Position at = p.start;
    Side toMove = p.toMove;
    lastDestination = 0;
    for (int32_t i = 0; i < p.shown; ++i) {
        const Move& m = p.moves[static_cast<size_t>(i)];
        applyMove(at, toMove, m);
        toMove = opponentOf(toMove);
        lastDestination = destinationOf(m);
    }
    if (record->boardTurned != 0) {
        at = flipPosition(at);
        if (lastDestination != 0) lastDestination = flipSquare(lastDestination);
    }
    return at;
}

bool GameController::InsertStudyLine(int32_t pane, int32_t row, LineInsert where) {
    const NodeId shown = shownNode();
    const std::optional<AnalyserReport> report = currentReport(pane);
    if (shown == kNoNode || analysis_ || !report || row < 0 ||
        row >= static_cast<int32_t>(report->lines.size())) {
        return false;
    }
    const CandidateLine& line = report->lines[static_cast<size_t>(row)];
    if (line.moves.empty()) return false;
    EndPreview();
    if (where == LineInsert::Comment) {
        MoveVerdict v;
        v.senteScore = report->toMove == Side::Upper ? -line.score : line.score;
        v.line = LineText(report->position, report->toMove, line.moves);
        v.depth = line.depth;
        v.engine = report->name;
        EditComment(WithAnalysisComment(tree.node(shown).comment, AnalysisComment(v, MoveLabel::None)));
        DrawBoard();
        return true;
    }
    NodeId at = shown;
    for (const Move& m : line.moves) {
        NodeId next = kNoNode;
        for (const NodeId child : tree.node(at).children) {
            if (tree.node(child).move == m) next = child;
        }
        if (next == kNoNode) {
            next = tree.addCheckedMove(at, m);
            if (next == kNoNode) break;
            recordChanged_ = true;
        }
        at = next;
    }
    if (at == shown) return false;
    showLine(tree.lineEndFrom(at));
    return true;
}

MoveExplanation GameController::ExplainStudyLine(int32_t pane, int32_t row) {
    MoveExplanation none;
    const std::optional<AnalyserReport> report = currentReport(pane);
    const int32_t lines = report ? static_cast<int32_t>(report->lines.size()) : 0;
    if (!report || !report->aik || row < 0 || row >= lines ||
        report->lines[static_cast<size_t>(row)].moves.empty()) {
        none.error = kNothingToExplain;
        return none;
    }
    const std::vector<Move>& line = report->lines[static_cast<size_t>(row)].moves;
    std::vector<Move> other;
    std::string otherName;
    // The move the record plays next in the line shown.
    const size_t ply = static_cast<size_t>(std::max(fields.plyCount, 0));
    const std::optional<Move> played =
        ply < line_.size() ? std::optional<Move>(tree.node(line_[ply]).move) : std::nullopt;
    if (row > 0) {
        other = report->lines[0].moves;
        otherName = "最善手";
    } else if (played && *played != line[0]) {
        other = {*played};
        otherName = "実戦の手";
    } else if (lines > 1) {
        other = report->lines[1].moves;
        otherName = "次善手";
    }
    if (other.empty()) {
        none.error = kNothingToExplain;
        return none;
    }
    const std::string& path = studyPaths_[static_cast<size_t>(pane)];
    if (!explainer_ || explainerPath_ != path) {
        explainer_ = std::make_unique<EngineState>();
        explainerPath_.clear();
        if (LoadAik(*explainer_, path, ui) != 1) {
            explainer_.reset();
            none.error = kAnalysisEngineFailed + path;
            return none;
        }
        explainerPath_ = path;
    }
    MoveExplanation e = ExplainLines(*explainer_, report->position, report->toMove, line, other);
    e.lineText = LineText(report->position, report->toMove, line);
    e.otherText = LineText(report->position, report->toMove, other);
    e.otherName = otherName;
    return e;
}

}  // namespace nusari
