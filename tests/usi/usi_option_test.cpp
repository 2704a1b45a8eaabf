// The option lines an engine announces, and the values each option takes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "usi/usi_option.h"

namespace nusari {
namespace {

TEST(UsiOption, LinesReadAsAnnounced) {
    struct Case {
        std::string line;
        bool reads;
        std::string name, type, defaultValue;
        int64_t min = 0, max = 0;
        std::vector<std::string> choices = {};
    };
    const std::vector<Case> cases = {
        {"option name Threads type spin default 1 min 1 max 512", true, "Threads", "spin", "1", 1, 512},
        {"name USI_Ponder type check default true", true, "USI_Ponder", "check", "true"},
        {"option name Ponder type check", true, "Ponder", "check", "false"},
        {"option name Style type combo default Normal var Solid var Normal", true, "Style", "combo",
         "Normal", 0, 0, {"Solid", "Normal"}},
        {"option name Book  File type string default my  book.db", true, "Book File", "string", "my book.db"},
        {"option name EvalDir type filename default <empty>", true, "EvalDir", "filename", ""},
        {"option name Clear Hash type button", true, "Clear Hash", "button", ""},
        {"option name Big type spin default 0 min -9223372036854775808 max 9223372036854775807", true,
         "Big", "spin", "0", INT64_MIN, INT64_MAX},
        {"option name Bad type spin default 0 min 5 max 1", false, "", "", ""},
        {"option name Over type spin default 0 min 0 max 9223372036854775808", false, "", "", ""},
        {"option name X type slider default 3", false, "", "", ""},
        {"option type spin default 1", false, "", "", ""},
        {"option name Y type spin min one", false, "", "", ""},
        {"", false, "", "", ""},
        {"option name " + std::string("\xff\x00\x80", 3) + " type string", true, std::string("\xff\x00\x80", 3),
         "string", ""},
    };
    for (const Case& c : cases) {
        UsiOption o;
        ASSERT_EQ(parseUsiOption(c.line, o), c.reads) << c.line;
        if (!c.reads) continue;
        EXPECT_EQ(o.name, c.name) << c.line;
        EXPECT_EQ(o.type, c.type) << c.line;
        EXPECT_EQ(o.defaultValue, c.defaultValue) << c.line;
        EXPECT_EQ(o.value, c.defaultValue) << c.line;
        EXPECT_EQ(o.min, c.min) << c.line;
        EXPECT_EQ(o.max, c.max) << c.line;
        EXPECT_EQ(o.choices, c.choices) << c.line;
        UsiOption again;
        ASSERT_TRUE(parseUsiOption(usiOptionText(o), again)) << c.line;
        EXPECT_EQ(again, o) << c.line;
    }
}

TEST(UsiOption, ValuesWithinTheOptionsBounds) {
    struct Case {
        std::string line;
        std::string value;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"name T type spin default 1 min 1 max 8", "1", true},
        {"name T type spin default 1 min 1 max 8", "8", true},
        {"name T type spin default 1 min 1 max 8", "+8", true},
        {"name T type spin default 1 min 1 max 8", "9", false},
        {"name T type spin default 1 min 1 max 8", "0", false},
        {"name T type spin default 1 min 1 max 8", "2.5", false},
        {"name T type spin default 1 min 1 max 8", " 2", false},
        {"name T type spin default 1 min 1 max 8", "", false},
        {"name T type spin default 0 min -5 max 5", "-5", true},
        {"name T type spin default 0 min 0 max 9223372036854775807", "9223372036854775807", true},
        {"name T type spin default 0 min 0 max 9223372036854775807", "9223372036854775808", false},
        {"name C type check default false", "true", true},
        {"name C type check default false", "True", false},
        {"name S type combo default a var a var b c", "b c", true},
        {"name S type combo default a var a var b c", "c", false},
        {"name F type string default x", "", true},
        {"name F type string default x", "two\nlines", false},
        {"name F type filename default x", "/a b/c.bin", true},
        {"name B type button", "", false},
    };
    for (const Case& c : cases) {
        UsiOption o;
        ASSERT_TRUE(parseUsiOption(c.line, o)) << c.line;
        EXPECT_EQ(usiOptionAccepts(o, c.value), c.accepted) << c.line << " / " << c.value;
    }
}

}  // namespace
}  // namespace nusari
