// One analyser of 検討: an engine that thinks without limit on the position
// it is given, on a thread of its own, until it is given another or ends.
// The window's thread posts positions and reads reports and never waits: a
// new position is taken 100 ms after the last change, so that stepping
// through a record does not restart the engine at every step, and ending
// leaves the engine's shut-down to the analyser's thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "position/types.h"
#include "study/analyser_report.h"

namespace nusari {

// How long the board must rest before the analyser takes its position.
inline constexpr int64_t kStudySettleMs = 100;

// What the window's thread and the analyser's thread share.
class StudyChannel {
  public:
    explicit StudyChannel(AnalyserReport first, int32_t lines);

    // The window's side.
    // The position to think on (standard frame); the same position again
    // changes nothing.
    void analyse(const Position& position, Side toMove);
    // The candidate lines wanted, 1..kMaxStudyLines.
    void setLineCount(int32_t count);
    int32_t lineCount() const;
    AnalyserReport report() const;
    // Changes with every report.
    uint64_t reportNumber() const { return reportNumber_.load(); }
    void end();
    // Called on the window's thread right after a post (an .aik search is
    // stopped there: its flags are atomic). Set before the thread starts.
    std::function<void()> onPosted;

    // The analyser's side.
    struct Work {
        Position position{};
        Side toMove = Side::Lower;
        uint64_t serial = 0;
        int32_t lines = 1;
    };
    // Work that is due (a new position or line count that has rested
    // kStudySettleMs), waiting up to `waitMs` for it; false when there is
    // none yet or the analyser ends.
    bool nextWork(Work& work, int64_t waitMs);
    // True once a newer position or line count waits, due or not.
    bool workWaiting() const;
    bool ending() const { return ending_.load(); }
    // Replaces the report.
    void publish(const AnalyserReport& report);

  private:
    bool dueLocked(int64_t now) const;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    Work posted_;
    int64_t postedMs_ = 0;
    uint64_t takenSerial_ = 0;
    int32_t takenLines_ = 0;
    AnalyserReport report_;
    std::atomic<uint64_t> reportNumber_{0};
    std::atomic<bool> ending_{false};
};

// The report of a think that begins on `work`: the analyser's name and
// kind kept, nothing found yet.
AnalyserReport ReportForWork(const AnalyserReport& previous, const StudyChannel::Work& work);

// The thread of one analyser; its engine lives in `run`, on that thread.
class LiveAnalyser {
  public:
    using Run = std::function<void(StudyChannel&)>;
    LiveAnalyser(std::shared_ptr<StudyChannel> channel, Run run);
    // Ends the analyser without waiting for its thread.
    ~LiveAnalyser();
    LiveAnalyser(const LiveAnalyser&) = delete;
    LiveAnalyser& operator=(const LiveAnalyser&) = delete;

    StudyChannel& channel() { return *channel_; }
    const StudyChannel& channel() const { return *channel_; }

    // Waits up to `ms` for the threads of analysers that have been ended
    // (the program's shut-down, a test's end); true when none is left.
    static bool WaitForEnded(int64_t ms);

  private:
    std::shared_ptr<StudyChannel> channel_;
};

}  // namespace nusari
