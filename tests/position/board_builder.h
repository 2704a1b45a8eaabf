// Small helpers that build test positions.
#pragma once

#include <initializer_list>
#include <utility>

#include "position/setup.h"
#include "position/types.h"

namespace nusari::test {

// An empty board with empty hands, plus the given pieces.
inline Position boardWith(std::initializer_list<std::pair<int32_t, int32_t>> squareAndCode) {
    Position p;
    setupPosition(p, 0);
    for (const auto& [sq, code] : squareAndCode) p[sq] = code;
    return p;
}

}  // namespace nusari::test
