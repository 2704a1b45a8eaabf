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

void ThinkThread::RelayUi::setPanelText(const std::string& text) {
    {
        const std::lock_guard<std::mutex> guard(lock_);
        text_ = text;
    }
    post([this, text] { window_.setPanelText(text); });
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
