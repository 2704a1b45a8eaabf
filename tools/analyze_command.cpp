// nusari-tool analyze AIK [--kif DIR] [-o REPORT.html] [--threads N]: how
// well an engine predicts the moves of the teacher games, as the window's
// analysis does.
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "aik/aik_loader.h"
#include "analysis/hit_analysis.h"
#include "analysis/hit_report.h"
#include "commands.h"
#include "console_ui.h"
#include "engine_setup.h"
#include "think/clock.h"

namespace nusari::tool {

namespace {

// Shows the progress of the run on the standard error.
class ProgressUi : public ConsoleUi {
public:
    void setPanelText(const std::string& text) override {
        ConsoleUi::setPanelText(text);
        std::string line = text;
        for (char& c : line) {
            if (c == '\n') c = ' ';
        }
        std::fprintf(stderr, "%s\n", line.c_str());
    }
};

}  // namespace

int runAnalyze(const Arguments& args) {
    std::string aik;
    std::string kif = "kif";
    std::string out;
    int64_t threads = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--kif" && hasValue) {
            kif = args[++i];
        } else if (args[i] == "-o" && hasValue) {
            out = args[++i];
        } else if (args[i] == "--threads" && hasValue) {
            if (!parseInt("--threads", args[++i], threads)) return 2;
            if (threads < 1 || threads > 256) {
                std::fprintf(stderr, "--threads needs 1..256\n");
                return 2;
            }
        } else if (aik.empty() && !args[i].empty() && args[i][0] != '-') {
            aik = args[i];
        } else {
            aik.clear();
            break;
        }
    }
    if (aik.empty()) {
        std::fprintf(stderr, "usage: nusari-tool analyze AIK [--kif DIR] [-o REPORT.html] [--threads N]\n");
        return 2;
    }
    ProgressUi ui;
    auto state = std::make_unique<EngineState>();
    if (LoadAik(*state, aik, ui) != 1) return 1;

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (out.empty()) out = hitReportPath(".", local);

    auto record = std::make_unique<GameRecord>();
    HitStats stats;
    const int64_t start = nowMs();
    AnalyzeTeacherGames(*state, *record, kif, stats, ui, {}, static_cast<int32_t>(threads));
    const int64_t elapsed = nowMs() - start;

    if (!writeHitReport(out, hitReportText(stats, state->profile.namae, local))) {
        std::fprintf(stderr, "analyze: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("games: %d\npositions: %d\nhits at rank 0: %d\nmisses: %d\nscore: %d\n", stats.games,
                stats.positions, stats.hits[0], stats.misses, stats.score);
    std::printf("score per position: %.2f\n",
                stats.positions > 0 ? static_cast<double>(stats.score) / stats.positions : 0.0);
    std::printf("time: %lld ms (%lld positions/s)\nreport: %s\n", static_cast<long long>(elapsed),
                static_cast<long long>(elapsed > 0 ? stats.positions * 1000LL / elapsed : stats.positions),
                out.c_str());
    return 0;
}

}  // namespace nusari::tool
