// The "why this move" table: the terms of the evaluation at the end of a
// candidate line beside those of the line it is compared with, and the
// neighbourhood rules that counted.
#pragma once

#include <QWidget>

#include "study/move_explanation.h"

namespace nusari {

void ShowExplanation(const MoveExplanation& e, QWidget* parent);

}  // namespace nusari
