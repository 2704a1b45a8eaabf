#include "ui/window/think_thread.h"

#include <QMetaObject>

namespace nusari {

void ThinkThread::RelayUi::post(std::function<void()> call) {
    // A call queued to a window that is gone meanwhile is dropped by Qt.
    QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
}

void ThinkThread::RelayUi::message(const std::string& text) {
    post([this, text] { window_.message(text); });
}

namespace {

// The panel shows a few lines; a longer text is cut (at a character's start).
constexpr size_t kMaxPanelTextBytes = 4096;

std::string cappedPanelText(const std::string& text) {
    if (text.size() <= kMaxPanelTextBytes) return text;
    size_t end = kMaxPanelTextBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

void ThinkThread::RelayUi::setPanelText(const std::string& text) {
    {
        const std::lock_guard<std::mutex> guard(lock_);
        text_ = cappedPanelText(text);
    }
    if (panelPosted_.exchange(true)) return;
    post([this] {
        // Cleared before the text is read: a text set after this read
        // posts a call of its own.
        panelPosted_.store(false);
        window_.setPanelText(panelText());
    });
}

void ThinkThread::RelayUi::forget() {
    const std::lock_guard<std::mutex> guard(lock_);
    text_.clear();
}

std::string ThinkThread::RelayUi::panelText() const {
    const std::lock_guard<std::mutex> guard(lock_);
    return text_;
}

void ThinkThread::RelayUi::playSound(Sound kind) {
    post([this, kind] { window_.playSound(kind); });
}

ThinkThread::ThinkThread(Ui& window, QObject& context)
    : context_(context), relay_(window, context) {}

ThinkThread::~ThinkThread() {
    if (worker_.joinable()) worker_.join();
}

void ThinkThread::run(std::function<void(Ui&)> work, std::function<void()> done) {
    // The previous think has handed over its reply, so it has ended or is
    // about to.
    if (worker_.joinable()) worker_.join();
    relay_.forget();
    worker_ = std::thread([this, work = std::move(work), done = std::move(done)]() mutable {
        work(relay_);
        QMetaObject::invokeMethod(&context_, std::move(done), Qt::QueuedConnection);
    });
}

void ThinkThread::stop(EngineState& engine) {
    if (!worker_.joinable()) return;
    engine.stopRequested = 1;
    engine.continueSearch = 0;
    worker_.join();
}

}  // namespace nusari
