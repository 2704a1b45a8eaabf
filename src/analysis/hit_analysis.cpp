#include "analysis/hit_analysis.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "aik/engine_list.h"
#include "analysis/deferred_ui.h"
#include "analysis/engine_copy.h"
#include "records/load_record.h"
#include "records/record_source.h"

namespace nusari {

namespace {

// How often the calling thread pumps the Ui's messages while it waits.
constexpr auto kPumpInterval = std::chrono::milliseconds(50);

// Every record the readers know: CSA, KIF and KI2, extensions in any case.
bool isTeacherGame(const std::string& path) {
    return recordFormatOf(path) != RecordFormat::Unknown;
}

bool readTeacherGame(GameRecord& record, const std::string& file, Ui& ui) {
    return LoadRecord(record, file, ui).ok;
}

void rankGame(EngineState& state, const GameRecord& record, HitStats& stats) {
    const PathTable path{};  // cleared once per game
    for (int32_t ply = kFirstAnalysedPly; ply <= record.length && ply < kHistoryEntries; ++ply) {
        if (!AnalysePly(state, record, ply, path, stats)) break;
    }
}

std::string progressText(int32_t games, const std::string& panelNote) {
    return "現在分析中\n 処理棋譜数 = " + std::to_string(games) + panelNote;
}

void analyseOnCallingThread(EngineState& state, GameRecord& record,
                            const std::vector<std::string>& files, HitStats& stats, Ui& ui,
                            const std::string& panelNote) {
    for (const std::string& file : files) {
        ui.pumpMessages();
        const bool read = readTeacherGame(record, file, ui);
        ++stats.games;
        ui.setPanelText(progressText(stats.games, panelNote));
        if (read) rankGame(state, record, stats);
    }
}

// One file's counts and what reading it showed, kept until the calling
// thread reports them.
struct FileOutcome {
    HitStats stats;
    DeferredUi ui;
    bool done = false;
};

void analyseOnWorkers(const EngineState& state, const std::vector<std::string>& files,
                      int32_t threads, HitStats& stats, Ui& ui, const std::string& panelNote) {
    std::vector<FileOutcome> outcomes(files.size());
    std::atomic<std::size_t> nextFile{0};
    std::mutex mutex;
    std::condition_variable fileDone;
    auto work = [&] {
        const auto engine = CopyEngineForAnalysis(state);
        const auto record = std::make_unique<GameRecord>();
        for (;;) {
            const std::size_t i = nextFile.fetch_add(1);
            if (i >= files.size()) return;
            FileOutcome& outcome = outcomes[i];
            if (readTeacherGame(*record, files[i], outcome.ui)) rankGame(*engine, *record, outcome.stats);
            {
                const std::lock_guard lock(mutex);
                outcome.done = true;
            }
            fileDone.notify_one();
        }
    };
    std::vector<std::jthread> pool;
    for (int32_t t = 0; t < threads; ++t) pool.emplace_back(work);

    for (FileOutcome& outcome : outcomes) {
        ui.pumpMessages();
        std::unique_lock lock(mutex);
        while (!fileDone.wait_for(lock, kPumpInterval, [&] { return outcome.done; })) {
            lock.unlock();
            ui.pumpMessages();
            lock.lock();
        }
        lock.unlock();
        outcome.ui.replay(ui);
        ++stats.games;
        ui.setPanelText(progressText(stats.games, panelNote));
        AddHitStats(stats, outcome.stats);
    }
}

}  // namespace

bool AnalysePly(EngineState& state, const GameRecord& record, int32_t ply, const PathTable& path,
                HitStats& stats) {
    TeacherPosition position;
    if (!TeacherPositionOfPly(record, ply, position)) return false;
    CountRank(stats, RankTeacherMove(state, position, path));
    return true;
}

std::vector<std::string> TeacherGames(const std::string& folder) {
    std::vector<std::string> games;
    for (const std::string& file : FilesBreadthFirst(folder)) {
        if (isTeacherGame(file)) games.push_back(file);
    }
    return games;
}

void AnalyzeTeacherGames(EngineState& state, GameRecord& record, const std::string& folder,
                         HitStats& stats, Ui& ui, const std::string& panelNote, int32_t threads) {
    stats = HitStats{};
    const std::vector<std::string> files = TeacherGames(folder);
    const auto workers = static_cast<int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(AnalysisThreads(threads)), files.size()));
    if (workers <= 1) {
        analyseOnCallingThread(state, record, files, stats, ui, panelNote);
    } else {
        analyseOnWorkers(state, files, workers, stats, ui, panelNote);
    }
    FinishScore(stats);
}

}  // namespace nusari
