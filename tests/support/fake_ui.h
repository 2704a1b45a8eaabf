// A GameView for tests: records every message, sound and panel text, and answers
// questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/game_view.h"

namespace nusari::test {

class FakeUi : public GameView {
public:
    // Everything shown, in order: "message:TEXT", "ask:TEXT", "sound:N",
    // and the window hooks "preset:N", "state:N", "controls:N", "draw".
    std::vector<std::string> events;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<Sound> sounds;
    std::vector<std::string> panelHistory;
    // Answers for ask(), used front first; an empty script answers `defaultAnswer`.
    std::deque<bool> answers;
    bool defaultAnswer = false;
    int pumps = 0;

    void message(const std::string& text) override {
        messages.push_back(text);
        events.push_back("message:" + text);
    }
    // A box that does not wait: recorded as "notify:TEXT".
    void notify(const std::string& text) override {
        messages.push_back(text);
        events.push_back("notify:" + text);
    }
    bool ask(const std::string& text) override {
        questions.push_back(text);
        events.push_back("ask:" + text);
        if (answers.empty()) return defaultAnswer;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void setPanelText(const std::string& text) override {
        panel_ = text;
        panelHistory.push_back(text);
    }
    std::string panelText() const override { return panel_; }
    void pumpMessages() override { ++pumps; }
    void playSound(Sound kind) override {
        sounds.push_back(kind);
        events.push_back("sound:" + std::to_string(static_cast<int>(kind)));
    }

    void selectPreset(int32_t index) override { events.push_back("preset:" + std::to_string(index)); }
    void setGameState(GameState state) override {
        events.push_back("state:" + std::to_string(static_cast<int>(state)));
    }
    void setControls(ControlSet set) override {
        events.push_back("controls:" + std::to_string(static_cast<int>(set)));
    }
    void drawBoard() override { events.push_back("draw"); }

    // The controller's window hooks: "pages", "frame:X,Y", "poll:MS",
    // "menu:X,Y", "file:KIND", "close".
    void pagesChanged() override { events.push_back("pages"); }
    void drawSelectionFrame(int32_t x, int32_t y) override {
        events.push_back("frame:" + std::to_string(x) + "," + std::to_string(y));
    }
    void setPollTimer(int32_t intervalMs) override { events.push_back("poll:" + std::to_string(intervalMs)); }
    // The clock timer's interval (0: stopped) and the countdown's seconds.
    int32_t clockTimerMs = 0;
    std::vector<int32_t> countdowns;
    void setClockTimer(int32_t intervalMs) override { clockTimerMs = intervalMs; }
    void countdown(int32_t second) override { countdowns.push_back(second); }
    void showBoardMenu(int32_t x, int32_t y) override {
        events.push_back("boardmenu:" + std::to_string(x) + "," + std::to_string(y));
    }
    void showGameMenu(int32_t x, int32_t y) override {
        events.push_back("menu:" + std::to_string(x) + "," + std::to_string(y));
    }
    // Answers of the file dialogs, front first; empty means cancelled.
    std::deque<std::string> files;
    // The names the dialogs proposed, in order.
    std::vector<std::string> proposedNames;
    std::string chooseFile(FileDialog kind, const std::string& proposedName) override {
        events.push_back("file:" + std::to_string(static_cast<int>(kind)));
        proposedNames.push_back(proposedName);
        if (files.empty()) return {};
        std::string f = files.front();
        files.pop_front();
        return f;
    }
    void closeWindow() override { events.push_back("close"); }
    // The match line shown last, and every change of it in order.
    std::string match;
    std::vector<std::string> matchChanges;
    void showMatch(const std::string& text) override {
        if (matchChanges.empty() ? !text.empty() : text != match) matchChanges.push_back(text);
        match = text;
    }
    std::vector<std::string> openedDocuments;
    // What openDocument answers: whether the desktop opened the document.
    bool documentsOpen = true;
    bool openDocument(const std::string& path) override {
        openedDocuments.push_back(path);
        events.push_back("open:" + path);
        return documentsOpen;
    }

private:
    std::string panel_;
};

}  // namespace nusari::test
