// Whose turn the game in progress is, or that none runs.
#pragma once

#include <cstdint>

namespace nusari {

enum class GameState : int32_t { LowerToMove = 1, ComputerThinking = 2, NoGame = 100 };

}  // namespace nusari
