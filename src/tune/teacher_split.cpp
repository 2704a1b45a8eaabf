#include "tune/teacher_split.h"

#include <algorithm>

namespace nusari {

TeacherSplit SplitTeacherGames(std::vector<std::string> files, int32_t percent) {
    std::sort(files.begin(), files.end());
    const int64_t share = std::clamp<int64_t>(percent, 0, 100);
    TeacherSplit split;
    // The held-out count of the first n files, rounded up: a set of a few
    // files still keeps one back.
    const auto heldOf = [share](int64_t n) { return (n * share + 99) / 100; };
    for (std::size_t i = 0; i < files.size(); ++i) {
        // File i is held out when the count goes up with it.
        const auto n = static_cast<int64_t>(i);
        const bool held = heldOf(n + 1) > heldOf(n);
        (held ? split.heldOut : split.training).push_back(std::move(files[i]));
    }
    return split;
}

}  // namespace nusari
