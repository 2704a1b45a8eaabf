#include "records/record_writer.h"

#include "position/text_encoding.h"
#include "records/csa_writer.h"
#include "records/kif_writer.h"
#include "records/record_files.h"
#include "records/record_messages.h"

namespace nusari {

bool FormatRecordFor(const RecordTree& tree, const std::string& path, std::string& text) {
    const std::string extension = lowerCaseExtension(path);
    if (extension == ".csa") {
        text = FormatCsa(tree);
    } else if (extension == ".kif") {
        text = FormatKif(tree);
    } else if (extension == ".kifu") {
        text = toUtf8(FormatKif(tree));
    } else if (extension == ".ki2") {
        text = FormatKi2(tree);
    } else if (extension == ".ki2u") {
        text = toUtf8(FormatKi2(tree));
    } else {
        return false;
    }
    return true;
}

bool FormatRecordFor(const GameRecord& record, const std::string& path, std::string& text) {
    RecordTree tree;
    recordToTree(record, tree);
    return FormatRecordFor(tree, path, text);
}

int32_t WriteRecord(const GameRecord& record, const std::string& path, Ui& ui) {
    RecordTree tree;
    recordToTree(record, tree);
    return WriteRecord(tree, path, ui);
}

int32_t WriteRecord(const RecordTree& tree, const std::string& path, Ui& ui) {
    std::string text;
    if (!FormatRecordFor(tree, path, text)) {
        showError(ui, kWriteFormatMessage);
        return -1;
    }
    if (!writeFileReplacing(path, text)) {
        showError(ui, kWriteErrorMessage + path);
        return -1;
    }
    return 1;
}

}  // namespace nusari
