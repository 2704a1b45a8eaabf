#include "ui/hit_analysis_run.h"

#include <ctime>
#include <filesystem>

#include "aik/aik_loader.h"
#include "analysis/hit_analysis.h"
#include "analysis/hit_report.h"

namespace nusari {

namespace {

bool hasAikExtension(const std::string& fileName) {
    const std::string ext = std::filesystem::path(fileName).extension().string();
    return ext == ".aik" || ext == ".AIK";
}

// The record and the game fields as after start-up; the current position stays.
void resetRecord(GameController& c) {
    GameRecord& r = *c.record;
    GameFields& g = c.fields;
    setName(r.firstName, "");
    setName(r.secondName, "");
    r.startTime.clear();
    r.endTime.clear();
    c.SelectPreset(kPresetEven);
    setupPosition(r.history[0], kPresetEven);
    r.humanIsSecond = 0;
    r.length = 0;
    g.plyCount = 0;
    g.lastDestination = 0;
    g.pendingFrom = 0;
    c.gameState = GameState::NoGame;
    c.ui.setGameState(GameState::NoGame);
    c.ui.setControls(ControlSet::AnalysisDone);
    c.DrawBoard();
}

}  // namespace

void RunHitAnalysis(GameController& c, const std::string& fileName) {
    if (!hasAikExtension(fileName)) {
        showError(c.ui, kAikLoadError);
        return;
    }
    EngineState& e = *c.engine;
    if (LoadAik(e, fileName, c.ui) != 1) {
        showError(c.ui, kAikLoadError);
        return;
    }
    // The teacher games are counted first: none gives no report.
    const std::string kifFolder = (c.folders.dataFolder / "kif").string();
    const std::size_t found = TeacherGames(kifFolder).size();
    if (found == 0) {
        std::string text = kNoTeacherGames;
        text += kifFolder;
        text += kNoTeacherGamesHint;
        c.ui.setPanelText(text);
        showError(c.ui, text);
        return;
    }
    std::string note = "\n\n";
    note += kTeacherGamesFound;
    note += std::to_string(found);
    note += kTeacherGamesFoundEnd;
    c.ui.setPanelText("現在分析中" + note);
    c.pagesVisible = false;
    c.ui.pagesChanged();
    c.ui.setControls(ControlSet::Analysing);
    c.gameState = GameState::NoGame;
    c.ui.setGameState(GameState::NoGame);

    HitStats stats;
    AnalyzeTeacherGames(e, *c.record, kifFolder, stats, c.ui, note);

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string report = hitReportPath(c.folders.writeFolder.string(), local);
    const bool written = writeHitReport(report, hitReportText(stats, e.profile.namae, local));

    c.PlaySound(Sound::Message);
    c.ui.setPanelText(written ? "分析完了\n" + std::string(kReportPathLine) + report : "分析完了");
    c.ui.message("分析完了しました。");
    if (!written) {
        c.ui.message(kReportWriteFailed + report);
    } else if (!c.ui.openDocument(report)) {
        c.ui.message(kReportOpenFailed + report);
    }
    resetRecord(c);
}

}  // namespace nusari
