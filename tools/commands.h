// Subcommands of nusari-tool. Each takes the arguments after its name and
// returns the process exit code.
#pragma once

#include <string>
#include <vector>

namespace nusari::tool {

using Arguments = std::vector<std::string>;

int runPerft(const Arguments& args);
int runAik(const Arguments& args);
int runThink(const Arguments& args);
int runSelfplay(const Arguments& args);
int runBench(const Arguments& args);
int runUsiMatch(const Arguments& args);
int runMatch(const Arguments& args);
int runAnalyze(const Arguments& args);
int runAnnotate(const Arguments& args);
int runTune(const Arguments& args);
int runRecord(const Arguments& args);
int runBook(const Arguments& args);
int runMate(const Arguments& args);

}  // namespace nusari::tool
