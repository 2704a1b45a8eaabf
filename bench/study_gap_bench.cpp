// How long the window goes without handling its events while 検討 runs and
// the user steps through a record with the arrow keys: opens a teacher game
// of more than 100 plies, starts 検討 with the engine given (an .aik file,
// or a USI engine's command line), presses → every STEP_MS for 100 plies
// and times a 5 ms timer of the window's thread meanwhile. Prints the
// longest gap and the reports the panes took.
//
//   study_gap_bench [ENGINE] [STEP_MS]   (default 攻め.aik, 40 ms; offscreen platform)
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"
#include "think/clock.h"
#include "ui/window/main_window.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const std::string engine = argc > 1 ? argv[1] : "";
    const int stepMs = argc > 2 ? std::atoi(argv[2]) : 40;
    constexpr int kSteps = 100;

    const nusari::test::TempFolder program;
    const fs::path& folder = program.path();
    fs::copy(NUSARI_DATA_DIR "/aik", folder / "aik", fs::copy_options::recursive);
    const bool usi = !engine.empty() && !engine.ends_with(".aik");
    {
        std::ofstream ini(folder / "NSProject.ini");
        ini << "[Aik]\r\nHash=400009\r\n";
        if (usi) ini << "[UsiEngines]\r\nCount=1\r\nName1=Bench\r\nCommand1=" << engine << "\r\n";
    }
    nusari::MainWindow window(QString::fromStdString(folder.string()));
    if (!window.startUp()) return 1;
    window.show();
    nusari::GameController& c = window.controller();
    c.OpenRecordFile(NUSARI_DATA_DIR "/kif/fsf-fsf-003.csa");
    const std::string path =
        usi ? "USI:Bench" : (engine.empty() ? (folder / "aik" / "攻め.aik").string() : engine);
    if (!c.StartStudy({path})) return 1;

    int64_t last = nusari::nowMs();
    int64_t longest = 0;
    int steps = 0;
    int reports = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const int64_t now = nusari::nowMs();
        longest = std::max(longest, now - last);
        last = now;
        const std::vector<nusari::StudyPaneView> panes = c.ShownStudy();
        if (!panes.empty() && !panes[0].rows.empty()) ++reports;
    });
    QTimer keys;
    QObject::connect(&keys, &QTimer::timeout, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&window, &press);
        if (++steps == kSteps) app.exit(0);
    });
    // The engine starts and thinks on the first position for a second.
    QTimer::singleShot(1000, [&] {
        last = nusari::nowMs();
        longest = 0;
        timer.start(5);
        keys.start(stepMs);
    });
    const int64_t start = nusari::nowMs();
    app.exec();
    const std::vector<nusari::StudyPaneView> panes = c.ShownStudy();
    std::printf("%d steps of %d ms in %lld ms, longest gap %lld ms, ticks with lines %d, %s\n", steps,
                stepMs, static_cast<long long>(nusari::nowMs() - start - 1000),
                static_cast<long long>(longest), reports,
                panes.empty() ? "no pane" : (panes[0].error.empty() ? panes[0].status.c_str() : panes[0].error.c_str()));
    c.StopStudy();
    nusari::LiveAnalyser::WaitForEnded(5000);
    return 0;
}
