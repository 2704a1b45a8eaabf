// One USI conversation: options, positions and searches of one .aik engine.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "aik/engine_state.h"
#include "aik/ui.h"
#include "position/types.h"
#include "think/think_observer.h"
#include "usi_time.h"

namespace nusari::usi {

struct EngineDeleter {
    void operator()(EngineState* state) const;
};

class UsiSession : public Ui, public ThinkObserver {
public:
    UsiSession(const std::filesystem::path& programFolder, std::ostream& out);

    // Handles one command line; false once the session is over ("quit").
    bool handle(const std::string& line);

    // A "stop" (or "quit") read after the goNumber-th "go" line: ends that
    // search at once, or keeps it from starting. Safe from another thread.
    void requestStop(int64_t goNumber);

    // Ui: messages become "info string" lines; nothing is asked.
    void message(const std::string& text) override;
    bool ask(const std::string&) override { return false; }
    void setPanelText(const std::string& text) override { panel_ = text; }
    std::string panelText() const override { return panel_; }
    void pumpMessages() override {}
    void playSound(Sound) override {}

    void onIteration(const ThinkIteration& iteration) override;

private:
    void send(const std::string& line);
    void usi();
    void setOption(const std::vector<std::string>& words);
    bool ready();
    void position(const std::vector<std::string>& words);
    void go(const std::vector<std::string>& words);
    void stop();

    std::ostream& out_;
    std::string panel_;
    std::string aikFile_;
    int64_t hashMb_ = 40;
    int64_t randomSeed_ = 0;
    bool csaTimeMode_ = false;

    std::unique_ptr<EngineState, EngineDeleter> engine_;
    std::string loadedAik_;
    int64_t allocatedHashMb_ = -1;
    int64_t seededWith_ = -1;

    Position position_;
    Side toMove_ = Side::Lower;
    std::atomic<int64_t> stoppedGo_{0};   // the latest "go" that a stop was meant for
    std::atomic<int64_t> currentGo_{0};   // the "go" being (or last) executed
    std::atomic<EngineState*> searching_{nullptr};
    int64_t searchStartMs_ = 0;
    std::string pendingBestmove_;  // held back after "go infinite" until "stop"
    std::string lastInfoKey_;      // depth and move of the last info line
    // The engine's own thinking time in this game, for the CSA time mode.
    int64_t gameThinkingMs_ = 0;
};

}  // namespace nusari::usi
