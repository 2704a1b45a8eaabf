#include "ui/match_files.h"

#include <fstream>

#include "ui/time_text.h"

namespace nusari {

std::string MatchLogLine(std::string_view endTime, std::string_view computerName, int32_t result,
                         int32_t plies) {
    std::string name(computerName);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    }
    std::string line(endTime);
    line += '\t';
    line += name;
    line += '\t';
    line += std::to_string(result);
    line += '\t';
    line += std::to_string(plies);
    line += "\r\n";
    return line;
}

bool AppendMatchLog(const std::filesystem::path& programFolder, std::string_view line) {
    const std::filesystem::path path = programFolder / kMatchLogPath;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) return false;
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.flush();
    return static_cast<bool>(out);
}

std::filesystem::path AutosavePath(const std::filesystem::path& programFolder, std::time_t now,
                                   int32_t renzoku) {
    const std::string stem = LocalStampText(now) + "_" + std::to_string(renzoku);
    std::filesystem::path path = programFolder / (stem + ".csa");
    std::error_code ec;
    for (int32_t n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n)
        path = programFolder / (stem + "-" + std::to_string(n) + ".csa");
    return path;
}

}  // namespace nusari
