#include "records/load_record.h"

#include <cstdio>
#include <memory>

#include "position/setup.h"
#include "records/record_files.h"
#include "records/record_messages.h"
#include "records/record_readers.h"

namespace nusari {

namespace {

struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Empty names and times, the even-game start position, no times.
void resetRecord(GameRecord& record, Ui& ui) {
    setName(record.firstName, "");
    setName(record.secondName, "");
    record.startTime.clear();
    record.endTime.clear();
    ui.selectPreset(kPresetEven);
    setupPosition(record.history[0], kPresetEven);
    record.history[0][kLowerTimeCell] = 0;
    record.history[0][kUpperTimeCell] = 0;
}

// Reads the file with the grammar its extension names; the message of a
// failure, or an empty text.
std::string readFile(const std::string& path, GameRecord& record, ReadOutcome& outcome) {
    const std::string_view extension = fileExtension(path);
    const bool csa = extension == ".csa" || extension == ".CSA";
    const bool kif = extension == ".kif" || extension == ".KIF";
    if (!csa && !kif) return kUnknownFormatMessage;
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) return kReadErrorMessage + path;
    TextInput in(file.get());
    outcome = csa ? ReadCsa(in, record) : ReadKif(in, record);
    if (outcome.error != nullptr) return outcome.error;
    return in.failed() ? kReadErrorMessage + path : std::string();
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
    record.humanIsSecond = 0;
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
        record.humanIsSecond = 0;
    } else {
        showError(ui, error);
        record.length = 0;
    }
    if (mode == LoadMode::Interactive) showLoadedState(game, record, ok, ui);
    return ok ? 1 : -1;
}

}  // namespace nusari
