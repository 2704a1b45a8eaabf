#include "position/sfen.h"

#include <gtest/gtest.h>

#include "position/setup.h"

namespace nusari {
namespace {

TEST(Sfen, EvenGameBothWays) {
    Position p;
    setupPosition(p, kPresetEven);
    EXPECT_EQ(toSfen(p, Side::Lower), kStartSfen);
    Position q;
    Side side = Side::Upper;
    std::string error;
    ASSERT_TRUE(parseSfen(kStartSfen, q, side, error)) << error;
    EXPECT_EQ(q, p);
    EXPECT_EQ(side, Side::Lower);
}

TEST(Sfen, HandsPromotionsAndRoundTrip) {
    const std::string text = "8l/1l+R2P3/p2pBG1pp/kps1p4/Nn1P2G2/P1P1P2PP/1PS6/1KSG3+r1/LN2+p3L w Sbgn3p 124";
    Position p;
    Side side = Side::Lower;
    std::string error;
    ASSERT_TRUE(parseSfen("sfen " + text, p, side, error)) << error;
    EXPECT_EQ(side, Side::Upper);
    EXPECT_EQ(p[72], kLowerDragon);  // "+R" on 7b
    EXPECT_EQ(p[28], kUpperDragon);  // "+r" on 2h
    EXPECT_EQ(p[kLowerHandBase + kSilver], 1);
    EXPECT_EQ(p[kUpperHandBase + kPawn], 3);
    EXPECT_EQ(p[kUpperHandBase + kBishop], 1);
    EXPECT_EQ(toSfen(p, side, 124), text);
}

TEST(Sfen, MalformedTextsGiveAnErrorAndLeaveThePositionAlone) {
    const char* bad[] = {
        "",
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1 b - 1",            // eight ranks
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL/9 b -",  // ten ranks
        "lnsgkgsnlp/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b -",   // ten files
        "lnsgkgsn/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b -",     // eight files
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNX b -",
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNS+GKGSNL b -",  // promoted gold
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSN+ b -",
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL x -",
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b K",
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b 99P",
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b 2",
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - x",
        "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1 extra",
        "9/9/9/9/9/9/9/9/46 b -",
    };
    for (const char* text : bad) {
        Position p;
        setupPosition(p, kPresetYagura);
        const Position before = p;
        Side side = Side::Upper;
        std::string error;
        EXPECT_FALSE(parseSfen(text, p, side, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(p, before);
        EXPECT_EQ(side, Side::Upper);
    }
}

TEST(UsiMove, TextsBothWays) {
    EXPECT_EQ(moveToUsi(Move{77, 76}, Side::Lower), "7g7f");
    EXPECT_EQ(moveToUsi(Move{88, 122}, Side::Lower), "8h2b+");
    EXPECT_EQ(moveToUsi(Move{118, 55}, Side::Lower), "P*5e");
    EXPECT_EQ(moveToUsi(Move{126, 55}, Side::Upper), "P*5e");
    EXPECT_EQ(moveToUsi(Move{0, 0}, Side::Upper), "resign");
    Move m;
    ASSERT_TRUE(parseUsiMove("8h2b+", Side::Lower, m));
    EXPECT_EQ(m, (Move{88, 122}));
    ASSERT_TRUE(parseUsiMove("S*3c", Side::Upper, m));
    EXPECT_EQ(m, (Move{123, 33}));
    for (const char* bad : {"", "7g", "7g7", "0a1b", "7j7f", "K*5e", "p*5e", "7g7f=", "7g7f++"}) {
        EXPECT_FALSE(parseUsiMove(bad, Side::Lower, m)) << bad;
    }
}

}  // namespace
}  // namespace nusari
