#include "records/load_record.h"

#include "position/setup.h"
#include "records/record_messages.h"
#include "records/record_readers.h"
#include "records/record_source.h"

namespace nusari {

namespace {

// Empty names and times, the even-game start position, no times.
void resetRecord(GameRecord& record, Ui& ui) {
    setName(record.firstName, "");
    setName(record.secondName, "");
    record.startTime.clear();
    record.endTime.clear();
    record.humanIsSecond = 0;
    record.boardTurned = 0;
    record.ending = GameEnding::None;
    ui.selectPreset(kPresetEven);
    setupPosition(record.history[0], kPresetEven);
    record.history[0][kLowerTimeCell] = 0;
    record.history[0][kUpperTimeCell] = 0;
}

// Reads the file with the grammar its extension names; the message of a
// failure, or an empty text.
std::string readFile(const std::string& path, GameRecord& record, ReadOutcome& outcome) {
    const RecordFormat format = recordFormatOf(path);
    if (format == RecordFormat::Unknown) return kUnknownFormatMessage;
    std::string bytes;
    std::string error;
    if (!readRecordFile(path, bytes, error)) return error;
    const std::string text = recordTextAsCp932(bytes);
    TextInput in{std::string_view(text)};
    outcome = format == RecordFormat::Csa ? ReadCsa(in, record) : ReadKif(in, record);
    return outcome.error;
}

// The window after a load: no game, the start position (of the record, or
// the even game after a failure) at ply 0.
void showLoadedState(GameFields& game, GameRecord& record, bool ok, Ui& ui) {
    ui.selectPreset(ok ? kPresetContinue : kPresetEven);
    if (ok) {
        game.currentPosition = record.history[0];
    } else {
        setupPosition(game.currentPosition, kPresetEven);
    }
    // Outside the history these slots are the search's, not times.
    game.currentPosition[kLowerTimeCell] = 0;
    game.currentPosition[kUpperTimeCell] = 0;
    ui.setGameState(GameState::NoGame);
    ui.setControls(ok ? ControlSet::NoGame : ControlSet::FailedRecordLoad);
    game.plyCount = 0;
    game.lastDestination = 0;
    ui.drawBoard();
}

}  // namespace

int32_t LoadRecord(GameFields& game, GameRecord& record, const std::string& path, LoadMode mode,
                   Ui& ui) {
    resetRecord(record, ui);
    ReadOutcome outcome;
    const std::string error = readFile(path, record, outcome);
    if (outcome.preset != kPresetEven) ui.selectPreset(outcome.preset);
    const bool ok = error.empty();
    if (ok) {
        record.length = outcome.plies;
    } else {
        showError(ui, error);
        record.length = 0;
        record.humanIsSecond = 0;
        record.boardTurned = 0;
        record.ending = GameEnding::None;
    }
    if (mode == LoadMode::Interactive) showLoadedState(game, record, ok, ui);
    return ok ? 1 : -1;
}

}  // namespace nusari
