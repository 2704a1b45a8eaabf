#include "records/record_tree_files.h"

#include "records/record_messages.h"
#include "records/record_source.h"

namespace nusari {

ReadOutcome ReadRecordTreeFile(const std::string& path, RecordTree& tree) {
    tree = RecordTree();
    ReadOutcome outcome;
    const RecordFormat format = recordFormatOf(path);
    if (format == RecordFormat::Unknown) {
        outcome.error = kUnknownFormatMessage;
        return outcome;
    }
    std::string bytes;
    if (!readRecordFile(path, bytes, outcome.error)) return outcome;
    const std::string text = recordTextAsCp932(bytes);
    TextInput in{std::string_view(text)};
    return format == RecordFormat::Csa ? ReadCsaTree(in, tree) : ReadKifTree(in, tree);
}

}  // namespace nusari
