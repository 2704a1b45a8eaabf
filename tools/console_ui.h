// A Ui for the command line: messages go to standard error, questions are
// answered no, the thinking panel is kept for the caller to print.
#pragma once

#include <cstdio>
#include <string>

#include "aik/ui.h"

namespace nusari::tool {

class ConsoleUi : public Ui {
public:
    void message(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool ask(const std::string& text) override {
        std::fprintf(stderr, "%s (no)\n", text.c_str());
        return false;
    }
    void setPanelText(const std::string& text) override { panel_ = text; }
    std::string panelText() const override { return panel_; }
    void pumpMessages() override {}
    void playSound(Sound) override {}

private:
    std::string panel_;
};

}  // namespace nusari::tool
