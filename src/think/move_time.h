// How much of its clock an engine spends on one move.
#pragma once

#include <cstdint>

namespace nusari {

// Kept back from every move for reading the position and giving the answer.
inline constexpr int64_t kMoveSafetyMs = 100;
inline constexpr int64_t kLeastMoveMs = 50;

// With `clockLeftMs` on the clock: a thirtieth of it plus the increment and
// the byoyomi, never more than the clock and the byoyomi, less the safety;
// at least kLeastMoveMs. With no clock left, the byoyomi less the safety.
int64_t moveTimeFromClock(int64_t clockLeftMs, int64_t incMs, int64_t byoyomiMs);

}  // namespace nusari
