#include "tune/teacher_split.h"

#include <algorithm>

namespace nusari {

TeacherSplit SplitTeacherGames(std::vector<std::string> files, int32_t percent) {
    std::sort(files.begin(), files.end());
    const int64_t share = std::clamp<int64_t>(percent, 0, 100);
    TeacherSplit split;
    for (std::size_t i = 0; i < files.size(); ++i) {
        // File i is held out when the held-out count of the first i + 1
        // files goes up: the count after n files is n * percent / 100.
        const auto n = static_cast<int64_t>(i);
        const bool held = (n + 1) * share / 100 > n * share / 100;
        (held ? split.heldOut : split.training).push_back(std::move(files[i]));
    }
    return split;
}

}  // namespace nusari
