// nusari-tool annotate FILE|DIR --engine CMD|--aik FILE --seconds N [-o OUT]
// [--from N] [--to N]: 棋譜解析 on the command line. Every move of a record's
// main line is judged by the engine and marked 緩手, 疑問手, 悪手 or 大悪手 in
// its comment, with the score and the engine's line in the form other
// programs read; a record that already holds an analysis is skipped.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "aik/aik_loader.h"
#include "analysis/file_annotation.h"
#include "analysis/hit_analysis.h"
#include "commands.h"
#include "console_ui.h"
#include "engine_setup.h"
#include "game/position_scorers.h"
#include "position/text_encoding.h"
#include "think/clock.h"

namespace nusari::tool {

namespace {

namespace fs = std::filesystem;

constexpr int64_t kHandshakeMs = 20000;

struct Options {
    std::string input;
    std::string out;
    std::string usi;  // the engine's command line
    std::string aik;
    int64_t seconds = 1;
    int64_t from = 1;
    int64_t to = kMaxRecordPlies;
};

bool parseOptions(const Arguments& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        const std::string& a = args[i];
        if (a == "--engine" && hasValue) {
            o.usi = args[++i];
        } else if (a == "--aik" && hasValue) {
            o.aik = args[++i];
        } else if (a == "-o" && hasValue) {
            o.out = args[++i];
        } else if (a == "--seconds" && hasValue) {
            if (!parseInt(a, args[++i], o.seconds)) return false;
        } else if (a == "--from" && hasValue) {
            if (!parseInt(a, args[++i], o.from)) return false;
        } else if (a == "--to" && hasValue) {
            if (!parseInt(a, args[++i], o.to)) return false;
        } else if (o.input.empty() && !a.empty() && a[0] != '-') {
            o.input = a;
        } else {
            return false;
        }
    }
    return !o.input.empty() && o.usi.empty() != o.aik.empty() && o.seconds >= 1 &&
           o.seconds <= 3600;
}

std::string tallyText(const SideTally& t) {
    std::string text;
    for (int32_t i = 1; i < kMoveLabelCount; ++i) {
        text += std::string(MoveLabelText(static_cast<MoveLabel>(i))) + " " +
                std::to_string(t.labels[static_cast<std::size_t>(i)]) + "  ";
    }
    char loss[48];
    std::snprintf(loss, sizeof loss, "平均損失 %.1f", t.averageLoss());
    return text + loss;
}

}  // namespace

int runAnnotate(const Arguments& args) {
    Options o;
    if (!parseOptions(args, o)) {
        std::fprintf(stderr,
                     "usage: nusari-tool annotate FILE|DIR --engine CMD|--aik FILE --seconds N "
                     "[-o OUT] [--from PLY] [--to PLY]\n");
        return 2;
    }
    ConsoleUi ui;
    const int32_t moveMs = static_cast<int32_t>(o.seconds * 1000);
    PositionScorer scorer;
    std::string engineName;
    Engine aik;
    std::unique_ptr<UsiEngine> usi;
    if (!o.aik.empty()) {
        aik = loadEngine(o.aik, 1, ui);
        if (!aik) return 1;
        aik->bookTable.clear();  // a book move has no score to judge by
        engineName = toUtf8(aik->profile.namae);
        scorer = AikScorer(*aik, moveMs);
    } else {
        EngineCommand command;
        if (!splitCommandLine(o.usi, command.argv)) {
            std::fprintf(stderr, "annotate: cannot read the engine's command line\n");
            return 2;
        }
        usi = std::make_unique<UsiEngine>(command, kHandshakeMs);
        std::string error;
        if (!usi->start(error) || !usi->newGame(error)) {
            std::fprintf(stderr, "annotate: the engine cannot be started: %s\n", error.c_str());
            return 1;
        }
        engineName = usi->name();
        scorer = UsiScorer(*usi, moveMs);
    }

    const bool folder = fs::is_directory(o.input);
    const std::vector<std::string> files =
        folder ? TeacherGames(o.input) : std::vector<std::string>{o.input};
    if (folder && !o.out.empty()) fs::create_directories(o.out);
    AnnotationSettings settings;
    settings.firstPly = static_cast<int32_t>(o.from);
    settings.lastPly = static_cast<int32_t>(o.to);
    settings.engineName = engineName;
    int failures = 0;
    int64_t positions = 0;
    const int64_t start = nowMs();
    for (const std::string& file : files) {
        const std::string path = AnalysedRecordPath(file, o.out, folder);
        const FileAnnotation done = AnnotateRecordFile(
            file, path, folder, scorer, settings, [&](int32_t judged, int32_t total) {
                std::fprintf(stderr, "\r%s: %d/%d", file.c_str(), judged, total);
                return true;
            }, ui);
        if (done.kind == FileAnnotation::Kind::Skipped) {
            std::printf("%s: already analysed, skipped\n", file.c_str());
            continue;
        }
        std::fprintf(stderr, "\n");
        const AnnotationSummary& summary = done.summary;
        positions += summary.judged + (summary.judged > 0 ? 1 : 0);
        if (done.failed()) {
            const std::string why = done.kind == FileAnnotation::Kind::NoScore
                                        ? "no move judged: the engine gave no score"
                                        : (done.kind == FileAnnotation::Kind::NotWritten ? "not written" : done.error);
            std::fprintf(stderr, "%s: %s\n", file.c_str(), why.c_str());
            ++failures;
            continue;
        }
        std::printf("%s: %d moves -> %s\n  ▲ %s\n  △ %s\n", file.c_str(), summary.judged,
                    path.c_str(), tallyText(summary.sente).c_str(), tallyText(summary.gote).c_str());
    }
    if (usi) usi->stop();
    const int64_t elapsed = nowMs() - start;
    std::printf("positions: %lld in %lld ms (%.2f positions/s)\n", static_cast<long long>(positions),
                static_cast<long long>(elapsed),
                elapsed > 0 ? positions * 1000.0 / static_cast<double>(elapsed) : 0.0);
    return failures == 0 ? 0 : 1;
}

}  // namespace nusari::tool
