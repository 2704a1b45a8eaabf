#include "ui/control_table.h"

namespace nusari {

namespace {

// Columns: start-up, game running, no game, failed record load, analysing,
// analysis done.
constexpr int32_t kColumns = 6;
constexpr bool kEnabled[kControlCount][kColumns] = {
    {true, false, true, true, false, true},      // fairu_hiraku
    {false, false, true, false, false, true},    // fairu_hozon
    {true, true, true, true, true, true},        // owari
    {true, false, true, true, false, true},      // taikyoku
    {false, true, false, false, false, false},   // matta
    {false, true, false, false, false, false},   // tyuudan
    {false, true, false, false, false, false},   // touryou
    {false, false, true, false, false, false},   // modoru_max
    {false, false, true, false, false, false},   // modoru_1
    {false, false, true, false, false, false},   // susumu_1
    {false, false, true, false, false, false},   // susumu_max
    {true, true, true, true, true, true},        // zyouhou
    {true, true, true, true, true, true},        // hanten
    {true, false, true, true, false, true},      // kyokumen_hensyuu
    {true, false, true, true, false, true},      // kentou
    // While no game runs, a move on the board goes into the record.
    {true, true, true, true, false, false},      // gamen
};

}  // namespace

bool ControlEnabled(Control control, ControlSet set) {
    const auto row = static_cast<int32_t>(control);
    const auto column = static_cast<int32_t>(set);
    if (row < 0 || row >= kControlCount || column < 0 || column >= kColumns) return false;
    return kEnabled[row][column];
}

}  // namespace nusari
