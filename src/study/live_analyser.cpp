#include "study/live_analyser.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "think/clock.h"

namespace nusari {

namespace {

// The analysers' threads still running.
std::mutex gRunningLock;
std::condition_variable gRunningChanged;
int32_t gRunning = 0;

}  // namespace

StudyChannel::StudyChannel(AnalyserReport first, int32_t lines) : report_(std::move(first)) {
    posted_.lines = std::clamp(lines, 1, kMaxStudyLines);
}

void StudyChannel::analyse(const Position& position, Side toMove) {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        if (posted_.serial != 0 && posted_.position == position && posted_.toMove == toMove) return;
        posted_.position = position;
        posted_.toMove = toMove;
        ++posted_.serial;
        postedMs_ = nowMs();
    }
    wake_.notify_all();
    if (onPosted) onPosted();
}

void StudyChannel::setLineCount(int32_t count) {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        posted_.lines = std::clamp(count, 1, kMaxStudyLines);
    }
    wake_.notify_all();
    if (onPosted) onPosted();
}

int32_t StudyChannel::lineCount() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return posted_.lines;
}

AnalyserReport StudyChannel::report() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return report_;
}

void StudyChannel::end() {
    ending_ = true;
    wake_.notify_all();
    if (onPosted) onPosted();
}

// A line count change is due at once; a position once it has rested.
bool StudyChannel::dueLocked(int64_t now) const {
    if (posted_.serial == 0) return false;
    if (posted_.serial != takenSerial_) return now - postedMs_ >= kStudySettleMs;
    return posted_.lines != takenLines_;
}

bool StudyChannel::nextWork(Work& work, int64_t waitMs) {
    std::unique_lock<std::mutex> hold(lock_);
    const int64_t deadline = nowMs() + std::max<int64_t>(0, waitMs);
    for (;;) {
        if (ending_) return false;
        const int64_t now = nowMs();
        if (dueLocked(now)) break;
        if (now >= deadline) return false;
        // A position waiting to rest is looked at again when it has.
        int64_t until = deadline;
        if (posted_.serial != takenSerial_) until = std::min(until, postedMs_ + kStudySettleMs);
        wake_.wait_for(hold, std::chrono::milliseconds(std::max<int64_t>(1, until - now)));
    }
    work = posted_;
    takenSerial_ = posted_.serial;
    takenLines_ = posted_.lines;
    return true;
}

bool StudyChannel::workWaiting() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return ending_ || posted_.serial != takenSerial_ || posted_.lines != takenLines_;
}

void StudyChannel::publish(const AnalyserReport& report) {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        report_ = report;
    }
    ++reportNumber_;
}

AnalyserReport ReportForWork(const AnalyserReport& previous, const StudyChannel::Work& work) {
    AnalyserReport report;
    report.name = previous.name;
    report.aik = previous.aik;
    report.position = work.position;
    report.toMove = work.toMove;
    report.serial = work.serial;
    report.thinking = true;
    return report;
}

LiveAnalyser::LiveAnalyser(std::shared_ptr<StudyChannel> channel, Run run)
    : channel_(std::move(channel)) {
    {
        const std::lock_guard<std::mutex> hold(gRunningLock);
        ++gRunning;
    }
    std::thread([shared = channel_, run = std::move(run)]() mutable {
        run(*shared);
        // What the work holds goes before the count says it has ended.
        run = nullptr;
        shared.reset();
        const std::lock_guard<std::mutex> hold(gRunningLock);
        --gRunning;
        gRunningChanged.notify_all();
    }).detach();
}

LiveAnalyser::~LiveAnalyser() { channel_->end(); }

bool LiveAnalyser::WaitForEnded(int64_t ms) {
    std::unique_lock<std::mutex> hold(gRunningLock);
    return gRunningChanged.wait_for(hold, std::chrono::milliseconds(ms), [] { return gRunning == 0; });
}

}  // namespace nusari
