// Which tool-bar buttons and whether the board picture are enabled in each
// column of the window's control table.
#pragma once

#include <cstdint>

#include "ui/game_view.h"

namespace nusari {

// The speed buttons of the tool bar menyuu, left to right (the twelve of
// old, then 盤面反転 and 局面編集), then the board picture gamen.
enum class Control : int32_t {
    FairuHiraku,
    FairuHozon,
    Owari,
    Taikyoku,
    Matta,
    Tyuudan,
    Touryou,
    ModoruMax,
    Modoru1,
    Susumu1,
    SusumuMax,
    Zyouhou,
    Hanten,
    KyokumenHensyuu,
    Kentou,  // 検討: pressed in while engines analyse the position shown
    Gamen,
};
inline constexpr int32_t kControlCount = 16;
inline constexpr int32_t kToolButtonCount = 15;

bool ControlEnabled(Control control, ControlSet set);

}  // namespace nusari
