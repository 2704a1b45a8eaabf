#include "ui/game_controller.h"

#include "position/position.h"
#include "think/hash_tables.h"
#include "think/think_move.h"
#include "ui/ui_texts.h"

namespace nusari {

GameController::GameController(GameView& ui_, SettingsStore& store_, std::filesystem::path folder)
    : GameController(ui_, store_, FoldersBesideProgram(folder)) {}

GameController::GameController(GameView& ui_, SettingsStore& store_, ProgramFolders folders_)
    : ui(ui_),
      store(store_),
      folders(std::move(folders_)),
      engine(std::make_unique<EngineState>()),
      record(std::make_unique<GameRecord>()),
      think(ThinkMove),
      runThink([this](std::function<void(Ui&)> work, std::function<void()> done) {
          work(ui);
          done();
      }),
      stopThink([] {}),
      allocHash(AllocHashTables),
      pause([](int32_t /*ms*/, std::function<void()> then) { then(); }) {}

GameController::~GameController() {
    stopThink();
    FreeHashTables(*engine);
}

void GameController::DrawBoard() {
    followStudy();
    ui.drawBoard();
}

BoardScene GameController::ComposeScene() const {
    BoardInputs in;
    in.position = &fields.currentPosition;
    in.record = record.get();
    in.plyCount = fields.plyCount;
    in.lastDestination = fields.lastDestination;
    in.presetText = page.presetText;
    in.viewTurned = viewTurned;
    in.arrows = studyArrows();
    in.clocks = ShownClocks();
    Position previewed{};
    if (showsTournament()) {
        // The tournament's game, 先手 first, on its clocks; the record's ply tints left out.
        const TournamentSnapshot& t = tournamentShown_;
        previewed = record->boardTurned != 0 ? flipPosition(t.position) : t.position;
        in.position = &previewed;
        in.preview = true;
        in.plyCount = t.plies;
        in.lastDestination = t.lastMove.isMove() ? destinationOf(t.lastMove) : 0;
        if (record->boardTurned != 0 && in.lastDestination != 0) in.lastDestination = flipSquare(in.lastDestination);
        in.arrows.clear();
        in.names = {t.sides[0].name, t.sides[1].name};
        in.clocks = tournamentClocks();
    } else if (preview_) {
        previewed = previewPosition(in.lastDestination);
        in.position = &previewed;
        in.preview = true;
    }
    return ComposeBoard(in);
}

void GameController::PlaySound(Sound kind) {
    if (kind == Sound::Piece || kind == Sound::Message) ui.playSound(kind);
}

void GameController::OnPollTimer() {
    if (link == nullptr || !page.linkChecked || gameState != GameState::LowerToMove) return;
    if (std::optional<PlayerAnswer> answer = link->poll(0)) takeLowerAnswer(*answer, link->name());
    TakeLinkAnswers();
}

// An answer that ends the game leaves the rest to the link's end of game,
// which drops them.
void GameController::TakeLinkAnswers() {
    if (link == nullptr) return;
    while (gameState == GameState::LowerToMove) {
        const std::optional<PlayerAnswer> answer = link->takeAnswer();
        if (!answer) return;
        takeLowerAnswer(*answer, link->name());
    }
}

void GameController::ShowComputerFirst(bool computerFirst) {
    page.computerFirst = computerFirst;
    ui.pagesChanged();
}

void GameController::SelectPreset(int32_t row) {
    if (row < 0 || row >= kPresetCount) return;
    page.presetRow = row;
    page.presetText = kPresetNames[row];
    ui.selectPreset(row);
}

void GameController::ShowPages() {
    settingsPage.timeLimit = std::to_string(engine->timeLimitMs);
    settingsPage.hash = std::to_string(engine->hashEntryCount);
    settingsPage.portName = portName;
    settingsPage.randomSeed = std::to_string(randomSeed);
    settingsPage.okEnabled = false;
    pagesVisible = true;
    ui.pagesChanged();
}

void GameController::HidePages() {
    pagesVisible = false;
    ui.pagesChanged();
}

}  // namespace nusari
