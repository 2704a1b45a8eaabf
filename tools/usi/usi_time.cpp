#include "usi_time.h"

#include <algorithm>

namespace nusari::usi {

int64_t thinkLimitMs(const GoLimits& go, bool blackToMove) {
    if (go.infinite) return kNoLimitMs;
    int64_t limit = kDefaultThinkMs;
    const int64_t left = blackToMove ? go.btime : go.wtime;
    const int64_t increment = std::max<int64_t>(0, blackToMove ? go.binc : go.winc);
    const int64_t byoyomi = std::max<int64_t>(0, go.byoyomi);
    if (go.movetime >= 0) {
        limit = go.movetime - kSafetyMs;
    } else if (left >= 0) {
        limit = moveTimeFromClock(left, increment, byoyomi);
    } else if (byoyomi > 0) {
        limit = byoyomi - kSafetyMs;
    }
    return std::clamp(limit, kMinimumMs, kNoLimitMs);
}

}  // namespace nusari::usi
