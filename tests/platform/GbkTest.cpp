// GBK <-> UTF-8: the code page's own characters both ways, and replacements for what cannot be
// converted.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/Gbk.h"

namespace {

struct GbkPair {
    const char* name;
    std::string gbk;
    std::string utf8;
};

void PrintTo(const GbkPair& c, std::ostream* os) {
    *os << c.name;
}

class GbkRoundTrip : public testing::TestWithParam<GbkPair> {};

TEST_P(GbkRoundTrip, BothWays) {
    EXPECT_EQ(plat::GbkToUtf8(GetParam().gbk), GetParam().utf8);
    EXPECT_EQ(plat::Utf8ToGbk(GetParam().utf8), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GbkRoundTrip,
    testing::Values(GbkPair{"Empty", "", ""}, GbkPair{"Ascii", "Tovik 12:00\r\n", "Tovik 12:00\r\n"},
                    GbkPair{"Reminder", "\xb8\xc3\xd7\xbc\xb1\xb8\xb3\xd4\xce\xe7\xb7\xb9\xc1\xcb\xa3\xa1",
                            "该准备吃午饭了！"},
                    GbkPair{"TrailBytesThatLookAscii", "\x81\x5d\x81\x5b\x81\x5c\x95\x5c", "乚乕乗昞"},
                    GbkPair{"EuroAt0x80", "\x80", "€"},
                    GbkPair{"Weekday", "\xd0\xc7\xc6\xda\xc8\xd5", "星期日"}),
    [](const testing::TestParamInfo<GbkPair>& info) { return std::string(info.param.name); });

struct OneWay {
    const char* name;
    std::string in;
    std::string out;
};

void PrintTo(const OneWay& c, std::ostream* os) {
    *os << c.name;
}

class GbkInvalidToUtf8 : public testing::TestWithParam<OneWay> {};
TEST_P(GbkInvalidToUtf8, Replaced) {
    EXPECT_EQ(plat::GbkToUtf8(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, GbkInvalidToUtf8,
    testing::Values(OneWay{"ByteFF", "a\xff-", "a\uFFFD-"}, OneWay{"LeadAtEnd", "ab\xb2", "ab\uFFFD"},
                    OneWay{"LeadBeforeEquals", "\x81=v", "\uFFFD=v"},
                    OneWay{"LeadBeforeSemicolon", "\x81;", "\uFFFD;"},
                    OneWay{"UnmappedPairIsOneCharacter", "\xa2\xa0x", "\uFFFDx"},
                    OneWay{"Gb18030FourByteIsNotGbk", "\x81\x30\x81\x30", "\uFFFD0\uFFFD0"},
                    OneWay{"NulPassesThrough", std::string("a\0b", 3), std::string("a\0b", 3)}),
    [](const testing::TestParamInfo<OneWay>& info) { return std::string(info.param.name); });

class Utf8InvalidToGbk : public testing::TestWithParam<OneWay> {};
TEST_P(Utf8InvalidToGbk, Replaced) {
    EXPECT_EQ(plat::Utf8ToGbk(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Utf8InvalidToGbk,
    testing::Values(OneWay{"CharacterGbkLacks", "a😀b", "a?b"}, OneWay{"LoneContinuation", "a\x80-", "a?-"},
                    OneWay{"CutSequenceAtEnd", "a\xe4\xb8", "a??"}, OneWay{"ByteFF", "\xff", "?"},
                    OneWay{"Overlong", "\xc0\xaf", "??"}, OneWay{"Surrogate", "\xed\xa0\x80", "???"},
                    OneWay{"GoodAfterBad", "\xff\xe6\xb5\x8b", "?\xb2\xe2"}),
    [](const testing::TestParamInfo<OneWay>& info) { return std::string(info.param.name); });

TEST(GbkBounds, NeverReadsPastTheView) {
    // The view ends after a lead byte; the byte after it in memory must not complete a character.
    const std::string buffer = "x\xb2\xe2";
    EXPECT_EQ(plat::GbkToUtf8(std::string_view(buffer).substr(0, 2)), "x\uFFFD");
    const std::string utf8 = "y\xe6\xb5\x8b";
    EXPECT_EQ(plat::Utf8ToGbk(std::string_view(utf8).substr(0, 3)), "y??");
}

TEST(GbkBounds, LongMixedInput) {
    std::string gbk;
    for (int i = 0; i < 20000; ++i) gbk += (i % 7 == 0) ? "\xff" : "\xb2\xe2z";
    const std::string utf8 = plat::GbkToUtf8(gbk);
    std::string expected;
    for (int i = 0; i < 20000; ++i) expected += (i % 7 == 0) ? "\uFFFD" : "测z";
    EXPECT_EQ(utf8, expected);
    EXPECT_EQ(plat::Utf8ToGbk(utf8).size(), gbk.size());
}

}  // namespace
