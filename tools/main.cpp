// nusari-tool: command-line access to the engine for developers and power
// users.
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const nusari::tool::Arguments&);
    const char* usage;
};

const Command kCommands[] = {
    {"perft", nusari::tool::runPerft, "perft [--sfen SFEN] DEPTH   count legal-move tree leaves"},
    {"aik", nusari::tool::runAik, "aik FILE                    load an engine file, print its fields"},
    {"think", nusari::tool::runThink,
     "think --aik FILE [--sfen SFEN] [--ms LIMIT] [--seed N]   choose a move"},
    {"selfplay", nusari::tool::runSelfplay,
     "selfplay --aik A --aik2 B --games N --ms LIMIT [--seed N]   play engine against engine"},
    {"bench", nusari::tool::runBench,
     "bench [--aik FILE] [--hukasa N]   fixed-depth search of fixed positions (node signature)"},
    {"analyze", nusari::tool::runAnalyze,
     "analyze AIK [--kif DIR] [-o REPORT.html] [--threads N]   hit-position analysis over teacher\n"
     "                            games on N threads (default: one per core)"},
    {"annotate", nusari::tool::runAnnotate,
     "annotate FILE|DIR --engine \"PROGRAM [ARGS]\"|--aik FILE --seconds N [-o OUT] [--from PLY]\n"
     "                            [--to PLY]   棋譜解析: mark each move 緩手..大悪手 in its comment\n"
     "                            with the score and line (#評価値=...); a folder's records each"},
    {"tune", nusari::tool::runTune,
     "tune AIK --kif DIR -o OUT.aik [--groups a,b,c] [--holdout PERCENT] [--seed N] [--rounds N]\n"
     "                            [--evaluations N] [--threads N]   improve an engine's numbers\n"
     "                            against teacher games (groups: pieces, hand, king, danger,\n"
     "                            progress, bonus, rules, width)"},
    {"usimatch", nusari::tool::runUsiMatch,
     "usimatch --usi PROGRAM --aik A --aik2 B --games N --ms LIMIT   match two USI engine processes"},
    {"match", nusari::tool::runMatch,
     "match --engine1 \"PROGRAM [ARGS]\" --engine2 \"PROGRAM [ARGS]\" [--option1 NAME=VALUE]...\n"
     "                            [--games N] [--openings FILE] [--byoyomi MS | --time MS --inc MS]\n"
     "                            [--out DIR]   match any two USI engines (see README)"},
    {"record", nusari::tool::runRecord,
     "record FILE|- [-o OUT.csa|.kif|.kifu|.ki2|.ki2u|.sfen|.bod] [--summary]   read a CSA, KIF or\n"
     "                            KI2 record (\"-\": any record or position text from stdin); write\n"
     "                            it, its last position, or print its start, final position and end"},
    {"mate", nusari::tool::runMate,
     "mate [--plies N] [--nodes N] [SFEN...]   mate search over checks (SFENs from stdin when none)"},
    {"book", nusari::tool::runBook,
     "book build OUT.jsk RECORDS... [--plies N]   opening book from CSA/KIF records"},
};

void printUsage() {
    std::fprintf(stderr, "usage: nusari-tool COMMAND [ARGS]\ncommands:\n");
    for (const Command& c : kCommands) std::fprintf(stderr, "  %s\n", c.usage);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage();
        return 2;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0) {
            return c.run(nusari::tool::Arguments(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "nusari-tool: unknown command '%s'\n", argv[1]);
    printUsage();
    return 2;
}
