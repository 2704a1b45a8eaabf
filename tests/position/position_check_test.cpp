// The check of a hand-made position: one case per rule it enforces, and
// positions it must let through.
#include "position/position_check.h"

#include <gtest/gtest.h>

#include "position/sfen.h"

namespace nusari {
namespace {

struct CheckCase {
    const char* name;
    const char* sfen;
    const char* error;  // "" for a playable position
};

const CheckCase kCases[] = {
    {"even game", "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", ""},
    {"詰将棋 with only the defending king", "4k4/9/9/9/9/9/9/9/9 b 2r2b4g4s4n4l18p 1", ""},
    {"promoted pieces, a tokin beside a pawn, 後手 to move", "+N3k4/9/9/9/+R8/9/+P8/9/P3K4 w - 1",
     ""},
    {"pieces one rank short of dead", "4k4/L8/N8/9/9/9/8n/p8/4K4 b - 1", ""},
    {"the side to move in check", "4k4/4R4/9/9/9/9/9/9/4K4 w - 1", ""},
    {"nineteen pawns", "4k4/9/9/9/9/4P4/9/9/4K4 b 9P9p 1", "歩が多すぎます"},
    {"a dragon counts as a rook", "4k4/9/9/9/+R8/9/9/9/4K4 b R2r 1", "飛が多すぎます"},
    {"two 先手 kings", "4k4/9/9/9/9/9/9/9/3KK4 b - 1", "先手の玉が二枚以上あります"},
    {"no king for the side not to move", "9/9/9/9/9/9/9/9/4K4 b - 1", "後手の玉がありません"},
    {"二歩", "4k4/9/9/9/9/4P4/9/4P4/4K4 b - 1", "二歩があります"},
    {"a 先手 lance on the first rank", "L3k4/9/9/9/9/9/9/9/4K4 b - 1", "行き所のない駒があります"},
    {"a 後手 knight on the eighth rank", "4k4/9/9/9/9/9/9/n8/4K4 b - 1",
     "行き所のない駒があります"},
    {"the side not to move in check", "4k4/4R4/9/9/9/9/9/9/4K4 b - 1",
     "手番でない側の玉に王手がかかっています"},
};

TEST(CheckSetUpPosition, NamesTheBrokenRuleOrLetsThePositionPass) {
    for (const CheckCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Position p;
        Side toMove = Side::Lower;
        std::string error;
        ASSERT_TRUE(parseSfen(c.sfen, p, toMove, error)) << error;
        EXPECT_EQ(CheckSetUpPosition(p, toMove).value_or(""), c.error);
        // A cell that holds no piece, where only a bad caller could put it.
        p[55] = kLowerGold + kPromotedFlag;
        EXPECT_EQ(CheckSetUpPosition(p, toMove).value_or(""), "局面に駒でない値があります");
    }
}

}  // namespace
}  // namespace nusari
