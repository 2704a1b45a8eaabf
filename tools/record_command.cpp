// nusari-tool record FILE [-o OUT.csa]
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "console_ui.h"
#include "records/csa_writer.h"
#include "records/load_record.h"

namespace nusari::tool {

int runRecord(const Arguments& args) {
    std::string input;
    std::string output;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size() && output.empty()) {
            output = args[++i];
        } else if (input.empty() && !args[i].empty() && args[i][0] != '-') {
            input = args[i];
        } else {
            input.clear();
            break;
        }
    }
    if (input.empty()) {
        std::fprintf(stderr, "usage: nusari-tool record FILE [-o OUT.csa]\n");
        return 2;
    }
    ConsoleUi ui;
    GameFields game;
    auto record = std::make_unique<GameRecord>();
    if (LoadRecord(game, *record, input, LoadMode::Analysis, ui) != 1) return 1;
    if (!output.empty()) return WriteCsa(*record, output, ui) == 1 ? 0 : 1;
    const std::string text = FormatCsa(*record);
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}

}  // namespace nusari::tool
