// nusari-tool book build OUT.jsk RECORDS... [--plies N]
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "console_ui.h"
#include "engine_setup.h"
#include "records/book_builder.h"
#include "records/load_record.h"
#include "records/record_files.h"

namespace nusari::tool {

namespace {

constexpr const char* kUsage = "usage: nusari-tool book build OUT.jsk RECORDS... [--plies N]\n";

// Adds the games in order; game k (from 1) carries message number k.
bool addGames(BookBuilder& book, const std::vector<std::string>& games, int32_t plies) {
    ConsoleUi ui;
    auto record = std::make_unique<GameRecord>();
    for (size_t k = 0; k < games.size(); ++k) {
        const char* path = games[k].c_str();
        if (!LoadRecord(*record, games[k], ui).ok) {
            std::fprintf(stderr, "book: cannot read %s\n", path);
            return false;
        }
        int32_t stoppedAt = 0;
        switch (book.addRecord(*record, plies, static_cast<int32_t>(k + 1), stoppedAt)) {
            case BookBuilder::AddResult::Added:
                break;
            case BookBuilder::AddResult::IllegalPly:
                std::fprintf(stderr, "book: %s: ply %d is no legal move; the rest is left out\n",
                             path, stoppedAt);
                break;
            case BookBuilder::AddResult::Full:
                std::fprintf(stderr, "book: %s: the book is full (%d positions)\n", path,
                             kBookCapacity);
                return false;
        }
    }
    return true;
}

}  // namespace

int runBook(const Arguments& args) {
    if (args.size() < 3 || args[0] != "build") {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    const std::string out = args[1];
    std::vector<std::string> games;
    int64_t plies = 24;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--plies" && i + 1 < args.size()) {
            if (!parseInt("--plies", args[++i], plies)) return 2;
        } else {
            games.push_back(args[i]);
        }
    }
    if (games.empty() || plies < 1 || plies > kMaxRecordPlies) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    BookBuilder book;
    if (!addGames(book, games, static_cast<int32_t>(plies))) return 1;
    if (!writeFileReplacing(out, book.bytes())) {
        std::fprintf(stderr, "book: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("book: %d positions from %zu records written to %s\n", book.size(), games.size(),
                out.c_str());
    return 0;
}

}  // namespace nusari::tool
