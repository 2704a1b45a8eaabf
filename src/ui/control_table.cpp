#include "ui/control_table.h"

namespace nusari {

namespace {

// Columns: start-up, game running, no game, failed record load.
constexpr bool kEnabled[kControlCount][4] = {
    {true, false, true, true},    // fairu_hiraku
    {false, false, true, false},  // fairu_hozon
    {true, true, true, true},     // owari
    {true, false, true, true},    // taikyoku
    {false, true, false, false},  // matta
    {false, true, false, false},  // tyuudan
    {false, true, false, false},  // touryou
    {false, false, true, false},  // modoru_max
    {false, false, true, false},  // modoru_1
    {false, false, true, false},  // susumu_1
    {false, false, true, false},  // susumu_max
    {true, true, true, true},     // zyouhou
    {false, true, false, false},  // gamen
};

}  // namespace

bool ControlEnabled(Control control, ControlSet set) {
    const auto row = static_cast<int32_t>(control);
    const auto column = static_cast<int32_t>(set);
    if (row < 0 || row >= kControlCount || column < 0 || column > 3) return false;
    return kEnabled[row][column];
}

}  // namespace nusari
