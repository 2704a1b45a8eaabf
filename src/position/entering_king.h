// The entering-king declaration (入玉宣言) under the 27-point rule.
#pragma once

#include <string>

#include "position/types.h"

namespace nusari {

// True when `side`, to move in `p`, may declare a win: its king stands in
// the enemy camp (the three far ranks) and is not in check, ten more of its
// pieces stand there, and those pieces plus its hand count at least 28
// points for the lower side (sente) or 27 for the upper side, a rook or a
// bishop (promoted or not) five and every other piece one. Otherwise `why`
// says which condition fails.
bool isValidDeclaration(const Position& p, Side side, std::string& why);

}  // namespace nusari
