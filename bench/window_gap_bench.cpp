// How long the window goes without handling its events while the computer
// thinks: starts a game in which the computer moves first out of the book
// (飛落ち) and searches without a depth limit for the time limit given, and
// times a 5 ms timer of the window's thread until the reply is played.
// Prints the longest gap.
//
//   window_gap_bench [LIMIT_MS]        (default 10000; offscreen platform)
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"
#include "think/clock.h"
#include "think/think_move.h"
#include "ui/window/main_window.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int limitMs = argc > 1 ? std::atoi(argv[1]) : 10000;

    // The program folder, removed when main returns.
    const nusari::test::TempFolder program;
    const fs::path& folder = program.path();
    fs::copy(NUSARI_DATA_DIR "/aik", folder / "aik", fs::copy_options::recursive);
    std::ofstream(folder / "NSProject.ini")
        << "[Aik]\r\nMaxTime=" << limitMs << "\r\nHash=400009\r\n";

    nusari::MainWindow window(QString::fromStdString(folder.string()));
    if (!window.startUp()) return 1;
    window.show();
    nusari::GameController& c = window.controller();
    // No depth limit: the search runs until the time is up.
    c.think = [](nusari::EngineState& e, const nusari::ThinkRequest& request, nusari::ThinkObserver& observer) {
        e.profile.hukasa = 999;
        return nusari::ThinkMove(e, request, observer);
    };

    int64_t last = nusari::nowMs();
    int64_t longest = 0;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const int64_t now = nusari::nowMs();
        if (c.gameState == nusari::GameState::ComputerThinking) {
            longest = std::max(longest, now - last);
            ++ticks;
        }
        last = now;
        // exit, not quit: quit would close the window, which asks first.
        if (ticks > 0 && c.gameState != nusari::GameState::ComputerThinking) app.exit(0);
    });
    timer.start(5);

    const int64_t start = nusari::nowMs();
    window.button(nusari::Control::Taikyoku)->click();
    window.pages().taikyoku_teai->setCurrentIndex(nusari::kPresetNoRook);
    window.pages().sengo_2->setChecked(true);
    window.pages().taikyoku_iiyo->click();
    last = nusari::nowMs();
    app.exec();
    std::printf("think %lld ms, %d ticks, longest gap %lld ms\n",
                static_cast<long long>(nusari::nowMs() - start), ticks,
                static_cast<long long>(longest));
    return 0;
}
