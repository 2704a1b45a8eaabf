#include "position/text_encoding.h"

#include <gtest/gtest.h>

namespace nusari {
namespace {

TEST(TextEncoding, KanjiRoundTrip) {
    const std::string utf8 = "ぬさり将棋 先手：YOU";
    const std::string cp932 = toCp932(utf8);
    // "将" is 0x8F 0xAB and "棋" 0x8A 0xFB in Shift-JIS.
    EXPECT_NE(cp932.find("\x8F\xAB\x8A\xFB"), std::string::npos);
    EXPECT_EQ(cp932.size(), 2u * 8 + 4);  // eight double-byte characters, " " and "YOU"
    EXPECT_EQ(toUtf8(cp932), utf8);
}

TEST(TextEncoding, BadBytesAreReplacedNotLost) {
    // A lone lead byte at the end, and a byte that starts no character.
    EXPECT_EQ(toUtf8("a\x81"), "a\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8("\xA0x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(toCp932("x\xE2\x82"), "x?");
    EXPECT_EQ(toCp932("\xF0\x9F\x98\x80!"), "?!");  // an emoji has no CP932 form
    EXPECT_EQ(toUtf8(""), "");
}

}  // namespace
}  // namespace nusari
