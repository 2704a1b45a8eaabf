// The millisecond clock of time limits and thinking times.
#pragma once

#include <chrono>
#include <cstdint>

namespace nusari {

inline int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace nusari
