#include "aik/aik_rewrite.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "aik/aik_loader.h"
#include "aik_test_support.h"

namespace nusari {
namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Index of the first number for which `pick` holds.
std::size_t find(const std::vector<AikNumber>& numbers, const std::function<bool(const AikNumber&)>& pick) {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (pick(numbers[i])) return i;
    }
    return numbers.size();
}

std::vector<int32_t> valuesOf(const std::vector<AikNumber>& numbers) {
    std::vector<int32_t> v;
    for (const AikNumber& n : numbers) v.push_back(n.value);
    return v;
}

TEST(AikRewrite, TheShippedEnginesRoundTripByteForByte) {
    for (const char* name : {"標準.aik", "攻め.aik"}) {
        const std::string path = std::string(NUSARI_DATA_DIR) + "/aik/" + name;
        const std::string bytes = fileBytes(path);
        std::vector<AikNumber> numbers;
        ASSERT_TRUE(LocateAikNumbers(path, bytes, numbers)) << name;
        EXPECT_GT(numbers.size(), 1400u) << name;
        for (const AikNumber& n : numbers) {
            if (n.kind == AikNumberKind::ArrayElement) continue;
            ASSERT_EQ(std::stoi(bytes.substr(n.begin, n.end - n.begin)), n.value) << name << " " << n.begin;
        }
        EXPECT_EQ(RewriteAikNumbers(bytes, numbers, valuesOf(numbers)), bytes) << name;
        std::string out = "untouched";
        ASSERT_TRUE(RewriteAikNumbersChecked(path, bytes, numbers, valuesOf(numbers), out));
        EXPECT_EQ(out, bytes) << name;
    }
}

// A file with CP932 text, CR LF, a leading zero, an explicit plus and rules.
constexpr const char* kEngine =
    "' 試験用のエンジン\nver=0.0.2\nnamae=試験\nhaba=024\noute_kati=7\nset koma[8]\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "   12,   14,   11,    7,    5,    2,    2,    2,    2\n"
    "+3\n}\nfind koma[0]\n  add koma[3][point(0,-1)] 30\n  multiply koma[41][point(1,-1)] -5\n}\n";

TEST(AikRewrite, AChangedNumberReadsBackAndOnlyItsTextChanges) {
    struct Case {
        const char* what;
        std::function<bool(const AikNumber&)> pick;
        int32_t value;
        const char* text;  // the new text in the file, blanks included
        std::function<int32_t(const EngineState&)> loaded;
    };
    const Case cases[] = {
        {"leading zero", [](const AikNumber& n) { return n.key == "haba"; }, 30, "haba=030",
         [](const EngineState& s) { return s.profile.haba; }},
        {"scalar grows", [](const AikNumber& n) { return n.key == "oute_kati"; }, 250, "oute_kati=250",
         [](const EngineState& s) { return s.profile.oute_kati; }},
        {"table keeps its column",
         [](const AikNumber& n) { return n.kind == AikNumberKind::TableSlot && n.index == 12; }, -1234,
         "\n   12,-1234,   11,",
         [](const EngineState& s) { return s.evalTables.table[8][12]; }},
        {"table number as wide as its column",
         [](const AikNumber& n) { return n.kind == AikNumberKind::TableSlot && n.index == 13; }, 99999,
         "\n   12,   14,99999,    7,",
         [](const EngineState& s) { return s.evalTables.table[8][13]; }},
        {"explicit plus", [](const AikNumber& n) { return n.kind == AikNumberKind::TableSlot && n.index == 0; },
         4, "\n+4\n", [](const EngineState& s) { return s.evalTables.table[8][kCoefficientSlot]; }},
        {"rule value",
         [](const AikNumber& n) { return n.kind == AikNumberKind::RuleValue && n.rule.op == kRuleAdd; }, -45,
         "(0,-1)] -45\n", [](const EngineState& s) { return s.findRuleTables.table[0][1].value; }},
        {"negative rule value",
         [](const AikNumber& n) { return n.kind == AikNumberKind::RuleValue && n.rule.op == kRuleMultiply; },
         999, "(1,-1)] 999\n", [](const EngineState& s) { return s.findRuleTables.table[0][0].value; }},
    };
    test::TempFolder folder;
    const std::string path = writeText(folder, "e.aik", kEngine);
    const std::string bytes = fileBytes(path);
    std::vector<AikNumber> numbers;
    ASSERT_TRUE(LocateAikNumbers(path, bytes, numbers));
    for (const Case& c : cases) {
        const std::size_t i = find(numbers, c.pick);
        ASSERT_LT(i, numbers.size()) << c.what;
        std::vector<int32_t> values = valuesOf(numbers);
        values[i] = c.value;
        std::string out;
        ASSERT_TRUE(RewriteAikNumbersChecked(path, bytes, numbers, values, out)) << c.what;
        std::string expectedText;
        for (const char* t = c.text; *t != '\0'; ++t) {
            if (*t == '\n') expectedText += '\r';
            expectedText += *t;
        }
        EXPECT_NE(out.find(expectedText), std::string::npos) << c.what << ":\n" << out;
        // Everything before the number's line and after the number is as it was.
        const std::size_t lineStart = bytes.rfind('\n', numbers[i].begin) + 1;
        EXPECT_EQ(out.substr(0, lineStart), bytes.substr(0, lineStart)) << c.what;
        const std::size_t tail = bytes.size() - numbers[i].end;
        EXPECT_EQ(out.substr(out.size() - tail), bytes.substr(numbers[i].end)) << c.what;
        auto state = std::make_unique<EngineState>();
        test::FakeUi ui;
        ASSERT_EQ(LoadAikBytes(*state, path, out, ui), 1) << c.what;
        EXPECT_EQ(c.loaded(*state), c.value) << c.what;
    }
}

TEST(AikRewrite, ValuesTheLoaderWouldNotKeepAreRefused) {
    struct Case {
        std::function<bool(const AikNumber&)> pick;
        int32_t value;
    };
    const Case cases[] = {
        {[](const AikNumber& n) { return n.key == "haba"; }, 0},
        {[](const AikNumber& n) { return n.key == "haba"; }, 101},
        {[](const AikNumber& n) { return n.key == "oute_kati"; }, 1000},
        {[](const AikNumber& n) { return n.kind == AikNumberKind::TableSlot; }, 100000},
        {[](const AikNumber& n) { return n.kind == AikNumberKind::TableSlot; }, -10000},
        {[](const AikNumber& n) { return n.kind == AikNumberKind::RuleValue; }, -1000},
    };
    test::TempFolder folder;
    const std::string path = writeText(folder, "e.aik", kEngine);
    const std::string bytes = fileBytes(path);
    std::vector<AikNumber> numbers;
    ASSERT_TRUE(LocateAikNumbers(path, bytes, numbers));
    for (const Case& c : cases) {
        std::vector<int32_t> values = valuesOf(numbers);
        values[find(numbers, c.pick)] = c.value;
        std::string out = "untouched";
        EXPECT_FALSE(RewriteAikNumbersChecked(path, bytes, numbers, values, out)) << c.value;
        EXPECT_EQ(out, "untouched");
    }
}

}  // namespace
}  // namespace nusari
