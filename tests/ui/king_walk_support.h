// Games whose moves do not matter: both kings step back and forth beside
// their start squares, and the computer resigns at a chosen ply.
#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "position/setup.h"
#include "ui_test_support.h"

namespace nusari::test {

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The pieces of `text` between the separators.
inline std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos;
         start = end + separator.size())
        out.push_back(text.substr(start, end - start));
    out.push_back(text.substr(start));
    return out;
}

// The lines of a CR LF text, without their line ends.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out = split(text, "\r\n");
    out.pop_back();  // after the last line end
    return out;
}

inline Position presetPosition(int32_t preset) {
    Position p;
    setupPosition(p, preset);
    return p;
}

class KingWalkTest : public ControllerTest {
  protected:
    void SetUp() override {
        ControllerTest::SetUp();
        // Walking kings repeat every four plies.
        controller->judgeRepetition = false;
        controller->think = [this](EngineState&, const ThinkRequest& request, ThinkObserver&) {
            ++thinks;
            if (controller->fields.plyCount >= resignAtPly) return Move::resign();
            return request.position[51] == kUpperKing ? Move{51, 52} : Move{52, 51};
        };
        controller->pause = [this](int32_t ms, std::function<void()> then) {
            pauses.push_back(ms);
            if (holdPauses) {
                heldPause = std::move(then);
            } else {
                then();
            }
        };
    }

    // The human's king steps; the computer answers.
    void humanMove() {
        controller->PlayLowerMove(board()[59] == kLowerKing ? Move{59, 58} : Move{58, 59});
    }

    // Human moves until the lower side is no longer to move.
    void playUntilTheGameEnds() {
        for (int i = 0; i < 2000 && controller->gameState == GameState::LowerToMove; ++i)
            humanMove();
    }

    std::string logText() const {
        return readText(folder.path() / "output/record/matchResult.log");
    }

    // The autosaved games in the program folder, by name.
    std::vector<std::string> savedGames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            if (entry.path().extension() == ".csa")
                names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    int32_t resignAtPly = 1000;
    std::vector<int32_t> pauses;
    bool holdPauses = false;
    std::function<void()> heldPause;
};

}  // namespace nusari::test
