// nusari-tool record FILE|- [-o OUT] [--summary]: reads a record with its
// variations and comments, from a file or ("-") as any pasted text from the
// standard input; -o writes all of it in the format OUT's extension names
// (.sfen and .bod: the main line's last position), --summary describes the
// main line, and without either the main line is printed as CSA.
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "console_ui.h"
#include "position/sfen.h"
#include "records/csa_writer.h"
#include "records/position_text.h"
#include "records/record_files.h"
#include "records/record_messages.h"
#include "records/record_source.h"
#include "records/record_text.h"
#include "records/record_tree_files.h"
#include "records/record_writer.h"

namespace nusari::tool {

namespace {

// The word for the game's end: the KIF special move, romanised.
const char* endingName(GameEnding ending) {
    switch (ending) {
        case GameEnding::None: return "none";
        case GameEnding::Resign: return "resign";
        case GameEnding::Interrupt: return "interrupt";
        case GameEnding::Repetition: return "repetition";
        case GameEnding::Impasse: return "impasse";
        case GameEnding::Mate: return "mate";
        case GameEnding::TimeUp: return "timeup";
        case GameEnding::FoulWin: return "foulwin";
        case GameEnding::FoulLoss: return "foulloss";
        case GameEnding::EnteringKingWin: return "enteringking";
        case GameEnding::Draw: return "draw";
        case GameEnding::PerpetualCheck: return "perpetualcheck";
        case GameEnding::PlyLimit: return "plylimit";
        case GameEnding::BadDeclaration: return "baddeclaration";
        case GameEnding::PlayerGone: return "playergone";
        case GameEnding::NoAnswer: return "noanswer";
    }
    return "none";
}

// Start and final position as SFEN (先手 in upper case), plies and end.
std::string summary(const GameRecord& record) {
    const int32_t length = record.length;
    std::string text = "start: " + toSfen(standardEntry(record, 0), standardSideToMove(record, 0));
    text += "\nfinal: " + toSfen(standardEntry(record, length), standardSideToMove(record, length),
                                 length + 1);
    text += "\nplies: " + std::to_string(length);
    text += "\nending: ";
    text += endingName(record.ending);
    return text + "\n";
}

// The standard input, up to one byte more than a record may have.
std::string standardInput() {
    std::string bytes;
    char chunk[1 << 16];
    while (bytes.size() <= kMaxRecordFileBytes) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, stdin);
        if (n == 0) break;
        bytes.append(chunk, n);
    }
    return bytes;
}

// Writes the whole tree, or its main line's last position for .sfen and
// .bod; 1, or -1 after the message.
int32_t writeOutput(const RecordTree& tree, const std::string& path, Ui& ui) {
    const std::string extension = lowerCaseExtension(path);
    if (extension != ".sfen" && extension != ".bod") return WriteRecord(tree, path, ui);
    const NodeId end = tree.mainLineEnd();
    const std::string text = extension == ".sfen" ? FormatSfen(tree, end) + "\n" : FormatBod(tree, end);
    if (!writeFileReplacing(path, text)) {
        showError(ui, kWriteErrorMessage + path);
        return -1;
    }
    return 1;
}

}  // namespace

int runRecord(const Arguments& args) {
    std::string input;
    std::string output;
    bool showSummary = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size() && output.empty()) {
            output = args[++i];
        } else if (args[i] == "--summary") {
            showSummary = true;
        } else if (input.empty() && !args[i].empty() && (args[i][0] != '-' || args[i] == "-")) {
            input = args[i];
        } else {
            input.clear();
            break;
        }
    }
    if (input.empty()) {
        std::fprintf(stderr, "usage: nusari-tool record FILE|- [-o OUT.csa|OUT.kif|OUT.kifu|OUT.ki2|OUT.ki2u|OUT.sfen|OUT.bod] [--summary]\n");
        return 2;
    }
    ConsoleUi ui;
    auto tree = std::make_unique<RecordTree>();
    const ReadOutcome read = input == "-" ? ReadRecordText(standardInput(), *tree)
                                          : ReadRecordTreeFile(input, *tree);
    if (!read.error.empty()) {
        showError(ui, read.error);
        return 1;
    }
    // The main line and the variations before the fault were read.
    if (!read.variationError.empty()) std::fprintf(stderr, "%s\n", read.variationError.c_str());
    if (!output.empty() && writeOutput(*tree, output, ui) != 1) return 1;
    auto record = std::make_unique<GameRecord>();
    mainLineToRecord(*tree, *record);
    std::string text;
    if (showSummary) {
        text = summary(*record);
    } else if (output.empty()) {
        text = FormatCsa(*record);
    }
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}

}  // namespace nusari::tool
