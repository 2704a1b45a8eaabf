// A main window in a temporary program folder whose message boxes and
// questions are answered by a script instead of a person.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/ui_test_support.h"
#include "ui/window/main_window.h"

namespace nusari::test {

class TestWindow : public MainWindow {
  public:
    using MainWindow::MainWindow;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;
    int sounds = 0;

    void message(const std::string& text) override { messages.push_back(text); }
    void notify(const std::string& text) override { messages.push_back(text); }
    bool ask(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void playSound(Sound /*kind*/) override { ++sounds; }
    // Lets the window run until the computer's think, which runs on its own
    // thread, has handed over its move (a match's pause is not waited for).
    void waitWhileThinking() {
        for (int i = 0; i < 30000 && controller().gameState == GameState::ComputerThinking &&
                        !controller().MatchPaused();
             ++i) {
            QTest::qWait(2);
        }
    }
    // Answers of the file dialogs, front first; empty means cancelled.
    std::deque<std::string> files;
    std::string chooseFile(FileDialog /*kind*/, const std::string& /*proposedName*/) override {
        if (files.empty()) return {};
        std::string f = files.front();
        files.pop_front();
        return f;
    }
};

inline QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

inline std::string readFile(const std::filesystem::path& p) {
    QFile f(qpath(p));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

inline void writeFile(const std::filesystem::path& p, const std::string& bytes) {
    QFile f(qpath(p));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

}  // namespace nusari::test
