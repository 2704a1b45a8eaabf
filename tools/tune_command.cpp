// nusari-tool tune AIK --kif DIR -o OUT.aik [--method hit|fit|ou [--score-weight P]] [--groups a,b]
//   [--epochs N]
//   [--holdout PERCENT] [--seed N] [--rounds N] [--evaluations N] [--threads N]:
// improves the numbers of an engine file against teacher games (see src/tune).
#include <cstdio>
#include <string>

#include "commands.h"
#include "engine_setup.h"
#include "tune/tune_groups.h"
#include "tune/tuner.h"

namespace nusari::tool {

namespace {

constexpr const char* kUsage =
    "usage: nusari-tool tune AIK --kif DIR -o OUT.aik [--method hit|fit|ou [--score-weight PERCENT]]\n"
    "                        [--groups a,b,c] [--holdout PERCENT] [--seed N] [--rounds N] [--epochs N]\n"
    "                        [--evaluations N] [--threads N]\n";

void printStats(const char* name, const HitStats& before, const HitStats& after) {
    std::printf("%s: %d games, %d positions\n", name, before.games, before.positions);
    std::printf("  score per position: %.3f -> %.3f\n", ScorePerPosition(before), ScorePerPosition(after));
    std::printf("  rank-0 hits: %.2f%% -> %.2f%%\n", FirstRankShare(before), FirstRankShare(after));
}

// Reads "--name VALUE" into `value` within [min, max].
bool intOption(const std::string& name, const std::string& text, int64_t min, int64_t max,
               int64_t& value) {
    if (!parseInt(name, text, value)) return false;
    if (value >= min && value <= max) return true;
    std::fprintf(stderr, "%s needs %lld..%lld\n", name.c_str(), static_cast<long long>(min),
                 static_cast<long long>(max));
    return false;
}

}  // namespace

int runTune(const Arguments& args) {
    TuneSettings settings;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        int64_t n = 0;
        if (a == "--kif" && hasValue) {
            settings.kifFolder = args[++i];
        } else if (a == "-o" && hasValue) {
            settings.outPath = args[++i];
        } else if (a == "--method" && hasValue && (args[i + 1] == "hit" || args[i + 1] == "fit" || args[i + 1] == "ou")) {
            const std::string& method = args[++i];
            settings.method = method == "fit" ? TuneMethod::Fit : method == "ou" ? TuneMethod::KingPiece : TuneMethod::Hit;
        } else if (a == "--epochs" && hasValue) {
            if (!intOption(a, args[++i], 1, 10000, n)) return 2;
            settings.epochs = static_cast<int32_t>(n);
        } else if (a == "--score-weight" && hasValue) {
            if (!intOption(a, args[++i], 0, 100, n)) return 2;
            settings.scoreWeightPercent = static_cast<int32_t>(n);
        } else if (a == "--groups" && hasValue) {
            settings.groups = SplitList(args[++i]);
        } else if (a == "--holdout" && hasValue) {
            if (!intOption(a, args[++i], 0, 90, n)) return 2;
            settings.holdoutPercent = static_cast<int32_t>(n);
        } else if (a == "--seed" && hasValue) {
            if (!intOption(a, args[++i], 0, 4294967295LL, n)) return 2;
            settings.seed = static_cast<uint32_t>(n);
        } else if (a == "--rounds" && hasValue) {
            if (!intOption(a, args[++i], 1, 1000, n)) return 2;
            settings.rounds = static_cast<int32_t>(n);
        } else if (a == "--evaluations" && hasValue) {
            if (!intOption(a, args[++i], 1, 1000000, n)) return 2;
            settings.evaluations = static_cast<int32_t>(n);
        } else if (a == "--threads" && hasValue) {
            if (!intOption(a, args[++i], 1, 256, n)) return 2;
            settings.threads = static_cast<int32_t>(n);
        } else if (settings.aikPath.empty() && !a.empty() && a[0] != '-') {
            settings.aikPath = a;
        } else {
            std::fprintf(stderr, "%s", kUsage);
            return 2;
        }
    }
    if (settings.aikPath.empty() || settings.kifFolder.empty() || settings.outPath.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    TuneOutcome outcome;
    std::string error;
    if (!RunTune(settings, stderr, outcome, error)) {
        std::fprintf(stderr, "tune: %s\n", error.c_str());
        return 1;
    }
    std::printf("parameters: %d, evaluations: %d\n", outcome.parameters, outcome.evaluations);
    if (settings.method != TuneMethod::Hit) {
        const FitFigures& f = outcome.fit;
        std::printf("scale: %.1f (teachers' scores: %.1f, on %d training positions)\n", f.scale,
                    f.teacherScale, f.taughtPositions);
        std::printf("training: %d games, %d quiet positions\n  mean squared error: %.6f -> %.6f\n",
                    outcome.trainingGames, f.trainingPositions, f.trainingBefore, f.trainingAfter);
        std::printf("held out: %d games, %d quiet positions\n  mean squared error: %.6f -> %.6f\n",
                    outcome.heldOutGames, f.heldOutPositions, f.heldOutBefore, f.heldOutAfter);
    } else {
        printStats("training", outcome.trainingBefore, outcome.trainingAfter);
        printStats("held out", outcome.heldOutBefore, outcome.heldOutAfter);
    }
    for (const TuneChange& c : outcome.changes) {
        std::printf("  %s: %d -> %d\n", c.parameter.c_str(), c.before, c.after);
    }
    for (const std::string& copied : outcome.copied) std::printf("copied: %s\n", copied.c_str());
    std::printf("written: %s\n", settings.outPath.c_str());
    return 0;
}

}  // namespace nusari::tool
