// The computer's think on a worker thread, so that the window repaints and
// answers (dialogs included) while the search runs. What the think shows
// and its end come back to the window through its event queue.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "aik/engine_state.h"
#include "aik/ui.h"

namespace nusari {

class ThinkThread {
  public:
    // `window` receives what the think shows; `context` is the object whose
    // thread runs the queued calls (the window itself).
    ThinkThread(Ui& window, QObject& context);
    ~ThinkThread();
    ThinkThread(const ThinkThread&) = delete;
    ThinkThread& operator=(const ThinkThread&) = delete;

    // Runs `work` on the worker thread with a Ui that relays to the window,
    // then `done` on the window's thread.
    void run(std::function<void(Ui&)> work, std::function<void()> done);
    // Ends a running think through the engine's stop flags and waits for it.
    void stop(EngineState& engine);

  private:
    // The Ui of the worker: panel texts and sounds are queued to the window;
    // pumping is not needed (the window's loop runs on), and a think asks
    // nothing. Panel texts are coalesced: the window's queue holds at most
    // one panel call, which shows the latest text when it runs, so a think
    // that sets texts faster than the window shows them never floods it.
    class RelayUi : public Ui {
      public:
        RelayUi(Ui& window, QObject& context) : window_(window), context_(context) {}
        void message(const std::string& text) override;
        bool ask(const std::string& /*text*/) override { return false; }
        void setPanelText(const std::string& text) override;
        std::string panelText() const override;
        void pumpMessages() override {}
        void playSound(Sound kind) override;
        // Drops the text of the previous think, leaving the window's as it is.
        void forget();

      private:
        void post(std::function<void()> call);
        Ui& window_;
        QObject& context_;
        mutable std::mutex lock_;
        std::string text_;
        // A panel call is in the window's queue.
        std::atomic<bool> panelPosted_{false};
    };

    QObject& context_;
    RelayUi relay_;
    std::thread worker_;
};

}  // namespace nusari
