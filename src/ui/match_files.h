// The files a finished game leaves: a line of the match log and, in a
// continuous match, the game saved as a numbered CSA file.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace nusari {

// The match log below the folder the program writes to (ProgramFolders).
inline constexpr const char* kMatchLogPath = "output/record/matchResult.log";

// One line of the match log, CP932 with CR LF: the end time, the computer's
// name, the result and the plies, separated by tabs. Control bytes in the
// name become blanks, so that a line always has its four fields.
std::string MatchLogLine(std::string_view endTime, std::string_view computerName, int32_t result,
                         int32_t plies);

// Appends `line` to the match log, creating its folders when missing; false
// when the file could not be written. A symbolic link is followed; anything
// but a regular file in the log's place (a folder, FIFO or device) is
// refused at once and nothing is written.
bool AppendMatchLog(const std::filesystem::path& writeFolder, std::string_view line);

// Where a game of a continuous match is saved: "yyyymmddhhnnss_N.csa" in
// `folder`, N the games still to play. A name already taken (two
// games ending in the same second) gets "-2", "-3", ... before ".csa".
std::filesystem::path AutosavePath(const std::filesystem::path& folder, std::time_t now,
                                   int32_t renzoku);

}  // namespace nusari
