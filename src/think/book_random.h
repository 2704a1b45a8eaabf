// The book's random generator: the same recurrence everywhere, so that a
// seed replays the same book choices on every machine.
#pragma once

#include <cstdint>

namespace nusari {

// state = state * 22695477 + 1 (mod 2^32); value = (state >> 16) & 32767.
inline int32_t nextRandom(uint32_t& state) {
    state = state * 22695477u + 1u;
    return static_cast<int32_t>((state >> 16) & 32767u);
}

// Seeding sets the state and draws one value.
inline void seedRandom(uint32_t& state, uint32_t seed) {
    state = seed;
    nextRandom(state);
}

}  // namespace nusari
