// The one interface through which the engine, the analysis and the tools
// report to the user: messages, questions, the thinking panel and sounds.
// The main window implements it (through the window's GameView); tests use a
// recording fake. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace nusari {

enum class Sound : int32_t { Piece = 1, Message = 2 };

class Ui {
public:
    virtual ~Ui() = default;
    // Modal box titled "ぬさり将棋" with an OK button.
    virtual void message(const std::string& text) = 0;
    // A box that tells something without stopping the program: the game
    // flow goes on while it is shown. A modal box where nothing else runs.
    virtual void notify(const std::string& text) { message(text); }
    // Modal yes/no question; true for yes.
    virtual bool ask(const std::string& text) = 0;
    // Text of the thinking panel (sikou_hyouzi).
    virtual void setPanelText(const std::string& text) = 0;
    virtual std::string panelText() const = 0;
    // Lets the window process its pending events, then returns.
    virtual void pumpMessages() = 0;
    // Plays a sound asynchronously; a missing sound plays nothing.
    virtual void playSound(Sound kind) = 0;
};

// An error box: the message sound, then the message.
inline void showError(Ui& ui, const std::string& text) {
    ui.playSound(Sound::Message);
    ui.message(text);
}

}  // namespace nusari
