#include "records/load_record.h"

#include <utility>

#include "records/record_messages.h"
#include "records/record_readers.h"
#include "records/record_source.h"
#include "records/record_tree_files.h"

namespace nusari {

namespace {

// Empty names and times, the even-game start position, no times.
void resetRecord(GameRecord& record) {
    setName(record.firstName, "");
    setName(record.secondName, "");
    record.startTime.clear();
    record.endTime.clear();
    record.humanIsSecond = 0;
    record.boardTurned = 0;
    record.ending = GameEnding::None;
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

// The outcome of a read into `record`: its start, or the message and an
// empty record after a failure.
LoadOutcome finishLoad(GameRecord& record, const ReadOutcome& read, std::string error, Ui& ui) {
    LoadOutcome outcome;
    outcome.error = std::move(error);
    outcome.preset = read.preset;
    outcome.ok = outcome.error.empty();
    if (outcome.ok) {
        record.length = read.plies;
        outcome.plies = read.plies;
        outcome.start = record.history[0];
    } else {
        showError(ui, outcome.error);
        record.length = 0;
        record.humanIsSecond = 0;
        record.boardTurned = 0;
        record.ending = GameEnding::None;
        setupPosition(outcome.start, kPresetEven);
    }
    // Outside the history these slots are the search's, not times.
    outcome.start[kLowerTimeCell] = 0;
    outcome.start[kUpperTimeCell] = 0;
    return outcome;
}

}  // namespace

LoadOutcome LoadRecord(GameRecord& record, const std::string& path, Ui& ui) {
    resetRecord(record);
    ReadOutcome read;
    std::string error = readFile(path, record, read);
    return finishLoad(record, read, std::move(error), ui);
}

LoadOutcome LoadRecord(RecordTree& tree, GameRecord& record, const std::string& path, Ui& ui) {
    resetRecord(record);
    ReadOutcome read = ReadRecordTreeFile(path, tree);
    if (read.error.empty()) {
        mainLineToRecord(tree, record);
        read.plies = record.length;
        if (!read.variationError.empty()) ui.notify(read.variationError);
    } else {
        tree = RecordTree();
    }
    return finishLoad(record, read, read.error, ui);
}

}  // namespace nusari
