// "set koma[" and "find koma[" blocks and the tables derived after the file.
#include <gtest/gtest.h>

#include <vector>

#include "aik/table_blocks.h"
#include "position/types.h"
#include "aik_test_support.h"

namespace nusari::test {
namespace {

// The rules of one table up to its end mark.
std::vector<FindRule> rulesOf(const EngineState& s, int32_t table) {
    std::vector<FindRule> out;
    for (int32_t i = 0; i < kRuleTableSize && s.findRuleTables.table[table][i].piece != -1; ++i) {
        out.push_back(s.findRuleTables.table[table][i]);
    }
    return out;
}

int32_t raw(const LoadFixture& f, int32_t table, int32_t slot) {
    return f.state->evalTables.table[table][slot];
}

TEST(SetBlock, KingReadsNineRowsAndCoefficient) {
    LoadFixture f;
    ASSERT_EQ(f.load(setBlock(0) + "hukasa=4\n"), 1);
    EXPECT_EQ(raw(f, 0, 11), 1001);
    EXPECT_EQ(raw(f, 0, 19), 1009);
    EXPECT_EQ(raw(f, 0, 57), 5007);
    EXPECT_EQ(raw(f, 0, 99), 9009);
    EXPECT_EQ(raw(f, 0, 0), 3);
    EXPECT_EQ(raw(f, 0, 101), 0);  // no hand rows for the king
    EXPECT_EQ(f.state->profile.hukasa, 4);
    // Derived: rotation, working coefficient of both sides.
    EXPECT_EQ(raw(f, 32, 11), 9009);
    EXPECT_EQ(raw(f, 32, 93), 1007);
    EXPECT_EQ(raw(f, 48, 0), 3);
    EXPECT_EQ(raw(f, 80, 0), 3);
}

TEST(SetBlock, PawnReadsHandRowsFirst) {
    LoadFixture f;
    f.state->evalTables.table[7][100] = 77;
    ASSERT_EQ(f.load(setBlock(7, 0, -12)), 1);
    EXPECT_EQ(raw(f, 7, 100), 0);
    EXPECT_EQ(raw(f, 7, 101), 101);
    EXPECT_EQ(raw(f, 7, 109), 109);
    EXPECT_EQ(raw(f, 7, 110), 110);
    EXPECT_EQ(raw(f, 7, 118), 118);
    EXPECT_EQ(raw(f, 7, 17), 1007);
    EXPECT_EQ(raw(f, 7, 0), -12);
    // The value for square 17 is the upper pawn's (39) on square 93.
    EXPECT_EQ(raw(f, 39, 93), 1007);
    // Hand values and coefficient copied to the working table.
    EXPECT_EQ(raw(f, 55, 100), 0);
    EXPECT_EQ(raw(f, 55, 105), 105);
    EXPECT_EQ(raw(f, 55, 118), 118);
    EXPECT_EQ(raw(f, 55, 0), -12);
    EXPECT_EQ(raw(f, 87, 0), -12);
}

TEST(SetBlock, NumbersAreFreeFormatAcrossLines) {
    std::string b = "set koma[12] trailing text\n";
    b += "  1,  2,\t3,+4,\n5,6,\n  7,8,\n9\n";
    for (int file = 2; file <= 9; ++file) b += row(10 * file);
    b += "\n-9999";  // coefficient, no closing brace: the next line is read as a line
    b += "\nhaba=5\n";
    LoadFixture f;
    ASSERT_EQ(f.load(b), 1);
    EXPECT_EQ(raw(f, 12, 11), 1);
    EXPECT_EQ(raw(f, 12, 14), 4);
    EXPECT_EQ(raw(f, 12, 19), 9);
    EXPECT_EQ(raw(f, 12, 21), 20);
    EXPECT_EQ(raw(f, 12, 0), -9999);
    EXPECT_EQ(f.state->profile.haba, 5);
}

TEST(SetBlock, RowsThatDoNotScanFail) {
    const std::string rows8 = [] {
        std::string r;
        for (int file = 2; file <= 9; ++file) r += row(1);
        return r;
    }();
    const char* badRows[] = {
        "1,2,3,4,5,6,7,8\n",          // eight numbers, then the next row's
        "1 ,2,3,4,5,6,7,8,9\n",       // space before a comma
        "123456,2,3,4,5,6,7,8,9\n",   // six characters in a field
        "1,2,3,4,5,6,7,8,x\n",        // not a number
        "1,2,3,4,5,6,7,8,-\n",        // a sign alone
        "1;2,3,4,5,6,7,8,9\n",        // wrong separator
    };
    for (const char* bad : badRows) {
        LoadFixture f;
        EXPECT_EQ(f.load(std::string("set koma[0]\n") + bad + rows8 + "5\n}\n"), -1) << bad;
        EXPECT_EQ(f.ui.messages.size(), 1u);
    }
    LoadFixture noCoefficient;
    EXPECT_EQ(noCoefficient.load("set koma[0]\n" + row(1) + rows8 + "}\n"), -1);
    LoadFixture endOfFile;
    EXPECT_EQ(endOfFile.load("set koma[7]\n" + row(1) + row(1) + row(1)), -1);
    // Rows read before the error stay.
    EXPECT_EQ(endOfFile.state->evalTables.table[7][11], 1);
    LoadFixture fiveChars;
    EXPECT_EQ(fiveChars.load("set koma[0]\n-9999,99999,+9999,1,2,3,4,5,6\n" + rows8 + "5\n}\n"), 1);
    EXPECT_EQ(fiveChars.state->evalTables.table[0][12], 99999);
}

TEST(SetBlock, CodeMustBeBelowSixteen) {
    for (const char* header : {"set koma[16]", "set koma[]", "set koma[-1]", "set koma[1234]"}) {
        LoadFixture f;
        EXPECT_EQ(f.load(std::string(header) + "\n" + setBlock(0).substr(12)), -1) << header;
    }
    LoadFixture eleven;  // accepted, but has no upper-side rotation
    eleven.state->evalTables.table[43][11] = 5;
    EXPECT_EQ(eleven.load(setBlock(11)), 1);
    EXPECT_EQ(eleven.state->evalTables.table[11][11], 1001);
    EXPECT_EQ(eleven.state->evalTables.table[43][11], 5);
}

TEST(SetBlock, TablesAreNotClearedBetweenLoads) {
    LoadFixture f;
    ASSERT_EQ(f.load(setBlock(3, 5)), 1);
    ASSERT_EQ(f.load(setBlock(4)), 1);
    EXPECT_EQ(f.state->evalTables.table[3][11], 1006);
    EXPECT_EQ(f.state->evalTables.table[4][11], 1001);
}

// 17 rows of `row(base + 10 * r)`.
std::string kingPieceBlock(const std::string& header, int base, int rows = 17) {
    std::string b = header + "\n";
    for (int r = 0; r < rows; ++r) b += row(base + 10 * r);
    return b + "}\n";
}

TEST(KingPieceBlock, RowsReachTheTableOfTheirCodeAndOtherHeadersFail) {
    LoadFixture f;
    ASSERT_EQ(f.load(kingPieceBlock("set ou[35]", 1000) + kingPieceBlock("set ou[15]", -500)), 1);
    const KingPieceTables& t = f.state->kingPieceTables;
    EXPECT_TRUE(t.present);
    // The other side's gold: table 16 + 3; row 0 is the rank offset -8.
    EXPECT_EQ(t.value[kKingPieceOtherSide + kGold][kingPieceSlot(-8, 0)], 1000);
    EXPECT_EQ(t.value[kKingPieceOtherSide + kGold][kingPieceSlot(0, 4)], 1084);
    EXPECT_EQ(t.value[kKingPieceOtherSide + kGold][kingPieceSlot(8, 8)], 1168);
    EXPECT_EQ(t.value[kLowerTokin][kingPieceSlot(-8, 1)], -499);
    EXPECT_EQ(t.value[kGold][kingPieceSlot(0, 0)], 0);
    // A file without blocks leaves the tables empty, also after one with them.
    ASSERT_EQ(f.load("hukasa=3\n"), 1);
    EXPECT_FALSE(f.state->kingPieceTables.present);
    EXPECT_EQ(f.state->kingPieceTables.value[kKingPieceOtherSide + kGold][kingPieceSlot(-8, 0)], 0);
    for (const char* header : {"set ou[32]", "set ou[-1]", "set ou[8]", "set ou[43]", "set ou[16]", "set ou[48]",
                               "set ou[]"}) {
        LoadFixture refused;
        EXPECT_EQ(refused.load(kingPieceBlock(header, 1)), -1) << header;
    }
    LoadFixture short16;
    EXPECT_EQ(short16.load(kingPieceBlock("set ou[1]", 1, 16)), -1);
}

TEST(FindBlock, RuleLinesAreParsed) {
    LoadFixture f;
    ASSERT_EQ(f.load("find koma[0]\n"
                     "  add koma[3][point(1,-1)] 50\n"
                     "' a comment\n"
                     "\n"
                     "multiply koma[39][point(0,-2)] -2\n"
                     "add koma[8][point(-9,+9)] -999\n"
                     "add koma[40][point(+1,9)] +7\n"
                     "}\n"),
              1);
    // Sorted by dx + dy, largest first. Fields: piece, dx, dy, op, first, value.
    const std::vector<FindRule> want = {{40, 10, 9, kRuleAdd, 1, 7},
                                        {3, 10, -1, kRuleAdd, 1, 50},
                                        {39, 0, -2, kRuleMultiply, 1, -2},
                                        {8, -90, 9, kRuleAdd, 1, -999}};
    EXPECT_EQ(rulesOf(*f.state, 0), want);
}

TEST(FindBlock, BadRulesFail) {
    const char* bad[] = {
        "add koma[11][point(0,1)] 5",  "add koma[43][point(0,1)] 5", "add koma[16][point(0,1)] 5",
        "add koma[48][point(0,1)] 5",  "add koma[][point(0,1)] 5",   "add koma[3][point(10,0)] 5",
        "add koma[3][point(0,-10)] 5", "add koma[3][point(x,0)] 5",  "add koma[3][point(0,1)]  5",
        "add koma[3][point(0,1)] x",   "add koma[3][point(0,1)]5",   "add koma[3][point(0,1) 5",
        "add koma[3][point(0 1)] 5",   "add koma[3][point(0,1] 5",   "add koma[3]",
        "multiply koma[3][point(1,1)] --5",
    };
    for (const char* line : bad) {
        LoadFixture f;
        EXPECT_EQ(f.load(std::string("find koma[0]\n") + line + "\n}\n"), -1) << line;
    }
    for (const char* header : {"find koma[16]", "find koma[]", "find koma[x]"}) {
        LoadFixture f;
        EXPECT_EQ(f.load(std::string(header) + "\n}\n"), -1) << header;
    }
}

TEST(FindBlock, EqualKeysKeepLineOrderAndFirstMarks) {
    LoadFixture f;
    ASSERT_EQ(f.load("find koma[4]\n"
                     "add koma[1][point(1,-1)] 1\n"   // key 9
                     "add koma[2][point(1,1)] 2\n"    // key 11
                     "add koma[3][point(1,-1)] 3\n"   // key 9, same offset as the first
                     "add koma[5][point(0,9)] 4\n"    // key 9, another offset
                     "other text is ignored\n"
                     "}\n"),
              1);
    const std::vector<FindRule> want = {{2, 10, 1, kRuleAdd, 1, 2},
                                        {1, 10, -1, kRuleAdd, 1, 1},
                                        {3, 10, -1, kRuleAdd, 0, 3},
                                        {5, 0, 9, kRuleAdd, 1, 4}};
    EXPECT_EQ(rulesOf(*f.state, 4), want);
}

TEST(FindBlock, UpperTableMirrorsLowerTable) {
    LoadFixture f;
    ASSERT_EQ(f.load("find koma[9]\nadd koma[3][point(1,-1)] 50\n"
                     "multiply koma[36][point(-2,3)] -4\n}\n"
                     "find koma[9]\nadd koma[35][point(1,-1)] 6\n}\n"),
              1);
    const std::vector<FindRule> lower = rulesOf(*f.state, 9);
    const std::vector<FindRule> upper = rulesOf(*f.state, 41);
    ASSERT_EQ(lower.size(), 3u);
    ASSERT_EQ(upper.size(), 3u);
    for (std::size_t i = 0; i < lower.size(); ++i) {
        FindRule mirrored = lower[i];
        mirrored.piece ^= 32;
        mirrored.dx = static_cast<int16_t>(-mirrored.dx);
        mirrored.dy = static_cast<int16_t>(-mirrored.dy);
        EXPECT_EQ(upper[i], mirrored) << i;
    }
    EXPECT_EQ(upper[1].first, 0);  // the second block's rule repeats the first offset
    EXPECT_EQ(f.state->findRuleTables.table[41][3].first, 1);
    EXPECT_TRUE(rulesOf(*f.state, 20).empty());
}

TEST(FindBlock, RuleTablesAreEmptiedByEveryLoad) {
    LoadFixture f;
    ASSERT_EQ(f.load("find koma[0]\nadd koma[3][point(1,-1)] 50\n}\n"), 1);
    ASSERT_EQ(f.load("ver=0.0.2\n"), 1);
    EXPECT_TRUE(rulesOf(*f.state, 0).empty());
    EXPECT_TRUE(rulesOf(*f.state, 32).empty());
}

TEST(FindBlock, EndOfFileInsideBlockKeepsRules) {
    for (const bool lf : {false, true}) {
        LoadFixture f;
        ASSERT_EQ(f.load("find koma[5]\nadd koma[3][point(1,-1)] 50\nadd koma[4][point(0,1)] 5",
                         lf),
                  1);
        EXPECT_EQ(rulesOf(*f.state, 5).size(), 2u);
        EXPECT_EQ(rulesOf(*f.state, 37).size(), 2u);
    }
}

TEST(FindBlock, RuleWithoutPointTakesPreviousOffset) {
    LoadFixture f;
    ASSERT_EQ(f.load("find koma[1]\nadd koma[3][] 1\n}\nfind koma[2]\n"
                     "add koma[3][point(2,3)] 2\nadd koma[4][xy] 3\n}\n"),
              1);
    const std::vector<FindRule> one = rulesOf(*f.state, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].dx, 0);
    EXPECT_EQ(one[0].dy, 0);
    const std::vector<FindRule> two = rulesOf(*f.state, 2);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].dx, 20);
    EXPECT_EQ(two[1].dy, 3);
    EXPECT_EQ(two[1].first, 0);
}

std::string manyRules(int code, int count) {
    std::string b = "find koma[" + std::to_string(code) + "]\n";
    for (int i = 0; i < count; ++i) b += "add koma[3][point(0,1)] " + std::to_string(i % 1000) + "\n";
    return b + "}\n";
}

TEST(FindBlock, TableHoldsAtMost1023Rules) {
    LoadFixture full;
    ASSERT_EQ(full.load(manyRules(6, 1023)), 1);
    EXPECT_EQ(rulesOf(*full.state, 6).size(), 1023u);
    EXPECT_EQ(full.state->findRuleTables.table[6][1023].piece, -1);
    EXPECT_EQ(rulesOf(*full.state, 38).size(), 1023u);

    LoadFixture over;
    EXPECT_EQ(over.load(manyRules(6, 1024)), -1);
    EXPECT_EQ(rulesOf(*over.state, 6).size(), 1023u);
    EXPECT_EQ(over.state->findRuleTables.table[6][1023].piece, -1);

    LoadFixture twoBlocks;  // each block is within its count, the table is not
    EXPECT_EQ(twoBlocks.load(manyRules(6, 600) + manyRules(6, 600)), -1);
    EXPECT_EQ(rulesOf(*twoBlocks.state, 6).size(), 1023u);
    EXPECT_EQ(twoBlocks.state->findRuleTables.table[6][1023].piece, -1);
}

TEST(FindBlock, IgnoredLinesCountTowardTheBlockLimit) {
    std::string b = "find koma[6]\n";
    for (int i = 0; i < 1023; ++i) b += "note\n";
    LoadFixture onlyIgnored;
    ASSERT_EQ(onlyIgnored.load(b + "}\n"), 1);
    LoadFixture ruleAfter;
    EXPECT_EQ(ruleAfter.load(b + "add koma[3][point(0,1)] 5\n}\n"), -1);
    LoadFixture commentsDoNotCount;
    std::string c = "find koma[6]\n";
    for (int i = 0; i < 1100; ++i) c += "' comment\n\n";
    EXPECT_EQ(commentsDoNotCount.load(c + "add koma[3][point(0,1)] 5\n}\n"), 1);
}

}  // namespace
}  // namespace nusari::test
