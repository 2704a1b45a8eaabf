#include "csa_notation.h"

namespace nusari {

namespace {

constexpr const char* kCsaNames[16] = {"OU", "HI", "KA", "KI", "GI", "KE", "KY", "FU",
                                       "* ", "RY", "UM", "* ", "NG", "NK", "NY", "TO"};

std::string twoDigits(int32_t square) {
    return std::string{static_cast<char>('0' + fileOf(square)), static_cast<char>('0' + rankOf(square))};
}

}  // namespace

const char* csaPieceName(int32_t code) {
    if (!isValidPieceCode(code)) return "* ";
    return kCsaNames[code & 15];
}

std::string csaMoveText(const Position& before, Side mover, const Move& m) {
    std::string text = mover == Side::Lower ? "+" : "-";
    const int32_t to = destinationOf(m);
    int32_t piece = 0;
    if (isDrop(m)) {
        text += "00";
        piece = m.from - (mover == Side::Lower ? kLowerHandBase : kUpperHandBase);
    } else {
        text += twoDigits(m.from);
        piece = before[m.from] + (isPromotion(m) ? kPromotedFlag : 0);
    }
    return text + twoDigits(to) + csaPieceName(piece);
}

}  // namespace nusari
