#include "records/record_readers.h"

#include <utility>

#include "position/text_encoding.h"

namespace nusari {

namespace {

// Reads with `grammar` into a tree that starts from the record's entry 0,
// then gives the record the tree's main line. What the file leaves unsaid
// (names, times) keeps the record's value.
ReadOutcome readIntoRecord(TextInput& in, GameRecord& record,
                           ReadOutcome (*grammar)(TextInput&, RecordTree&)) {
    RecordTree tree;
    tree.reset(record.history[0], Side::Lower);
    tree.startTimeMs[0] = int64_t{record.history[0][kLowerTimeCell]} * 1000;
    tree.startTimeMs[1] = int64_t{record.history[0][kUpperTimeCell]} * 1000;
    const ReadOutcome outcome = grammar(in, tree);
    const NameField firstName = record.firstName;
    const NameField secondName = record.secondName;
    std::string startTime = std::move(record.startTime);
    std::string endTime = std::move(record.endTime);
    const bool hasStart = !tree.header("開始日時").empty();
    const bool hasEnd = !tree.header("終了日時").empty();
    const bool hasFirst = !tree.firstName.empty();
    const bool hasSecond = !tree.secondName.empty();
    mainLineToRecord(tree, record);
    if (!hasFirst) record.firstName = firstName;
    if (!hasSecond) record.secondName = secondName;
    if (!hasStart) record.startTime = std::move(startTime);
    if (!hasEnd) record.endTime = std::move(endTime);
    return outcome;
}

}  // namespace

ReadOutcome ReadCsa(TextInput& in, GameRecord& record) {
    return readIntoRecord(in, record, ReadCsaTree);
}

ReadOutcome ReadKif(TextInput& in, GameRecord& record) {
    return readIntoRecord(in, record, ReadKifTree);
}

}  // namespace nusari
