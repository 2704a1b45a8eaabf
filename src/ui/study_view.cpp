#include "ui/study_view.h"

#include <cstdio>

#include "analysis/record_annotation.h"

namespace nusari {

std::string GroupedCount(int64_t n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    if (n < 0) out.insert(out.begin(), '-');
    return out;
}

std::string StudyScoreText(const CandidateLine& line, Side toMove, bool fromSente) {
    const bool turned = fromSente && toMove == Side::Upper;
    const int32_t score = turned ? -line.score : line.score;
    std::string text;
    if (line.mate) {
        text = score < 0 ? "-詰" : "詰";
        if (line.matePlies > 0) text.append(" ").append(std::to_string(line.matePlies));
    } else {
        char number[16];
        std::snprintf(number, sizeof number, "%+d", score);
        text = score == 0 ? "0" : number;
    }
    ScoreBound bound = line.bound;
    if (turned && bound != ScoreBound::Exact) {
        bound = bound == ScoreBound::Lower ? ScoreBound::Upper : ScoreBound::Lower;
    }
    if (bound == ScoreBound::Lower) text += "↑";
    if (bound == ScoreBound::Upper) text += "↓";
    return text;
}

StudyPaneView StudyPaneOf(const AnalyserReport& report, bool fromSente, bool current) {
    StudyPaneView pane;
    pane.title = report.name;
    pane.error = report.error;
    pane.aik = report.aik;
    if (report.serial == 0 && report.error.empty()) {
        pane.status = "起動中";
        return pane;
    }
    std::string& s = pane.status;
    // Stepping through the record: the engine takes the position shown
    // once the board rests.
    if (!current) {
        s = "局面の切り替え中";
        return pane;
    }
    s = "深さ " + std::to_string(report.depth);
    if (report.seldepth >= 0) s.append("/").append(std::to_string(report.seldepth));
    if (report.nodes >= 0) s.append("  ノード ").append(GroupedCount(report.nodes));
    if (report.nps >= 0) s.append("  NPS ").append(GroupedCount(report.nps));
    if (report.hashPermille >= 0) {
        char hash[32];
        std::snprintf(hash, sizeof hash, "  ハッシュ %.1f%%", report.hashPermille / 10.0);
        s += hash;
    }
    if (!report.thinking && report.error.empty()) s += "  (思考終了)";
    for (size_t i = 0; i < report.lines.size(); ++i) {
        const CandidateLine& line = report.lines[i];
        pane.rows.push_back(StudyPaneView::Row{std::to_string(i + 1),
                                               StudyScoreText(line, report.toMove, fromSente),
                                               LineText(report.position, report.toMove, line.moves)});
    }
    return pane;
}

std::vector<StudyArrow> StudyArrowsOf(const AnalyserReport& report, bool fromSente, int32_t marginCp) {
    std::vector<StudyArrow> arrows;
    if (report.lines.empty() || report.lines[0].moves.empty()) return arrows;
    const int32_t best = report.lines[0].score;
    for (size_t i = 0; i < report.lines.size() && arrows.size() < kMaxStudyArrows; ++i) {
        const CandidateLine& line = report.lines[i];
        if (line.moves.empty() || line.score < best - marginCp) continue;
        bool repeated = false;
        for (const StudyArrow& a : arrows) repeated = repeated || a.move == line.moves[0];
        if (repeated) continue;
        arrows.push_back(StudyArrow{line.moves[0], static_cast<int32_t>(i + 1),
                                    StudyScoreText(line, report.toMove, fromSente)});
    }
    return arrows;
}

}  // namespace nusari
