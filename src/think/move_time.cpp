#include "think/move_time.h"

#include <algorithm>

namespace nusari {

int64_t moveTimeFromClock(int64_t clockLeftMs, int64_t incMs, int64_t byoyomiMs) {
    const int64_t left = std::max<int64_t>(0, clockLeftMs);
    const int64_t inc = std::max<int64_t>(0, incMs);
    const int64_t byoyomi = std::max<int64_t>(0, byoyomiMs);
    const int64_t limit = std::min(left / 30 + inc + byoyomi, left + byoyomi) - kMoveSafetyMs;
    return std::max(limit, kLeastMoveMs);
}

}  // namespace nusari
