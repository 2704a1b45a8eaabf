// How the window fares against a USI engine that writes info lines as fast
// as they are read: registers the fake engine's flood mode in a fresh
// program folder, starts an even game in which it moves first, and times a
// 5 ms timer of the window's thread until its move is played. With
// "remote" the engine is the remote player instead (read on the window's
// thread through the link). Prints the info lines sent, the longest gap of
// the timer, the peak memory of the process and the time recorded for the
// move.
//
//   usi_flood_bench [LINES [remote]]   (default 1000000; offscreen platform)
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "remote/usi_link.h"
#include "support/temp_folder.h"
#include "think/clock.h"
#include "ui/window/main_window.h"

namespace fs = std::filesystem;

namespace {

// A line of /proc/self/status in kB ("VmHWM", "VmRSS"), or -1.
long statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    const bool remote = argc > 2 && std::string(argv[2]) == "remote";

    // The program folder, removed when main returns.
    const nusari::test::TempFolder program;
    const fs::path& folder = program.path();
    fs::copy(NUSARI_DATA_DIR "/aik", folder / "aik", fs::copy_options::recursive);
    std::ofstream(folder / "NSProject.ini")
        << "[Aik]\r\nMaxTime=600000\r\nHash=1009\r\n"
        << "[UsiEngines]\r\nCount=1\r\nName1=Flood\r\nCommand1=bash \"" NUSARI_FAKE_ENGINE
        << "\" flood " << lines << " 7g7f\r\n";

    nusari::MainWindow window(QString::fromStdString(folder.string()));
    if (!window.startUp()) return 1;
    window.show();
    nusari::GameController& c = window.controller();
    nusari::UsiLink link(c);
    if (remote) c.link = &link;

    int64_t last = nusari::nowMs();
    int64_t longest = 0;
    int64_t thinkStart = 0;
    int64_t thinkMs = 0;
    int ticks = 0;
    // The engine's turn: its think on the worker, or the link's polls.
    auto engineToMove = [&] {
        if (!remote) return c.gameState == nusari::GameState::ComputerThinking;
        return c.gameState == nusari::GameState::LowerToMove && c.fields.plyCount == 0;
    };
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const int64_t now = nusari::nowMs();
        const bool thinking = engineToMove();
        if (thinking) {
            if (ticks == 0) thinkStart = now;
            longest = std::max(longest, now - last);
            ++ticks;
        }
        last = now;
        if (ticks > 0 && !thinking) {
            thinkMs = now - thinkStart;
            // exit, not quit: quit would close the window, which asks first.
            app.exit(0);
        }
    });
    timer.start(5);

    const long rssBefore = statusKb("VmRSS");
    window.button(nusari::Control::Taikyoku)->click();
    window.pages().taikyoku_teai->setCurrentIndex(nusari::kPresetEven);
    if (remote) {
        window.pages().tuusinC->setChecked(true);
        window.pages().tuusin_aite->setCurrentIndex(window.pages().tuusin_aite->count() - 1);
    } else {
        window.pages().taisenn_com->setCurrentIndex(window.pages().taisenn_com->count() - 1);
        window.pages().sengo_2->setChecked(true);
    }
    window.pages().taikyoku_iiyo->click();
    last = nusari::nowMs();
    app.exec();
    c.stopThink();
    c.link = nullptr;

    const int32_t recorded =
        c.record->history[1][remote ? nusari::kLowerTimeCell : nusari::kUpperTimeCell];
    std::printf("info lines sent %ld, think %lld ms, %d ticks, longest gap %lld ms\n", lines + 1,
                static_cast<long long>(thinkMs), ticks, static_cast<long long>(longest));
    std::printf("rss before the game %ld kB, peak rss %ld kB\n", rssBefore, statusKb("VmHWM"));
    std::printf("plies %d, move time recorded %d s\n", c.fields.plyCount, recorded);
    return c.fields.plyCount >= 1 ? 0 : 2;
}
