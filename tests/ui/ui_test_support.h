// A program folder, a settings store and a game controller for the
// controller tests; the computer's replies come from a script.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "position/types.h"
#include "settings/settings.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "ui/board_hit.h"
#include "ui/board_scene.h"
#include "ui/game_controller.h"

namespace nusari::test {

// The settings file in memory, "Section/Key" -> value.
class MemoryStore : public SettingsStore {
  public:
    std::map<std::string, std::string> values;
    int flushes = 0;
    // Not empty: every flush fails with this text.
    std::string failure;

    std::optional<std::string> value(std::string_view section, std::string_view key) override {
        const auto it = values.find(std::string(section) + "/" + std::string(key));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void setValue(std::string_view section, std::string_view key, const std::string& v) override {
        values[std::string(section) + "/" + std::string(key)] = v;
    }
    void removeValue(std::string_view section, std::string_view key) override {
        values.erase(std::string(section) + "/" + std::string(key));
    }
    bool flush() override {
        ++flushes;
        return failure.empty();
    }
    std::string saveProblem() const override { return failure; }
};

// The shipped balanced engine.
inline std::filesystem::path defaultEngineFile() {
    return std::filesystem::path(NUSARI_DATA_DIR) / "aik" / "標準.aik";
}

// A program folder with the default engine, and the book files beside it,
// in its aik folder.
inline void addDefaultEngine(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    fs::create_directories(folder / "aik");
    for (const fs::directory_entry& entry :
         fs::directory_iterator(defaultEngineFile().parent_path())) {
        const fs::path& file = entry.path();
        if (file.extension() == ".aik" && file != defaultEngineFile()) continue;
        if (!entry.is_regular_file()) continue;
        fs::copy_file(file, folder / "aik" / file.filename(), fs::copy_options::overwrite_existing);
    }
}

class ControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        addDefaultEngine(folder.path());
        store.values["Aik/Hash"] = "1009";
        makeController();
    }

    void makeController() {
        controller = std::make_unique<GameController>(ui, store, folder.path());
        controller->think = [this](EngineState&, const ThinkRequest&, ThinkObserver&) {
            ++thinks;
            // An empty script resigns.
            const Move reply = replies.empty() ? Move::resign() : replies.front();
            if (!replies.empty()) replies.pop_front();
            return reply;
        };
    }

    // Start-up, then a game with these choices.
    void startGame(int32_t preset, bool computerFirst, const std::string& name = "YOU") {
        ASSERT_EQ(controller->StartUp(), 1);
        controller->page.presetRow = preset;
        controller->page.computerFirst = computerFirst;
        controller->page.playerName = name;
        controller->StartGame();
    }

    // A left click in the middle of a square, or of a stand area.
    void clickSquare(int32_t square, MouseButton button = MouseButton::Left) {
        const PicturePoint at = SquareOrigin(square);
        controller->OnBoardMouseDown(button, at.x + 24, at.y + 24);
    }
    void clickStand(int32_t handCell);
    void move(int32_t from, int32_t to) {
        if (from > kLastSquare) {
            clickStand(from);
        } else {
            clickSquare(from);
        }
        clickSquare(to);
    }

    EngineState& engine() { return *controller->engine; }
    GameFields& gameFields() { return controller->fields; }
    GameRecord& record() { return *controller->record; }
    Position& board() { return controller->fields.currentPosition; }

    TempFolder folder;
    MemoryStore store;
    FakeUi ui;
    std::unique_ptr<GameController> controller;
    std::deque<Move> replies;
    int thinks = 0;
};

inline void ControllerTest::clickStand(int32_t handCell) {
    for (int32_t y = 0; y < kPictureHeight; ++y) {
        for (int32_t x = 0; x < kPictureWidth; ++x) {
            const StandArea* area = StandAreaAt(x, y);
            if (area != nullptr && area->handCell == handCell) {
                controller->OnBoardMouseDown(MouseButton::Left, x, y);
                return;
            }
        }
    }
    FAIL() << "no stand area for " << handCell;
}

}  // namespace nusari::test
