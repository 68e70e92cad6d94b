// Reading one value from INI text: line ends, names, blanks, quotes, comments, defaults, the buffer
// cut, and GBK bytes that look like structure characters.
#include <gtest/gtest.h>

#include <string>

#include "platform/Profile.h"

namespace {

struct ReadCase {
    const char* name;
    std::string content;
    std::string section;
    std::string key;
    std::string defaultValue;
    std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileReadTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadTable, ReadsValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(plat::ProfileReadText(c.content, c.section, c.key, c.defaultValue), c.expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileReadTable,
    testing::Values(
        // line ends
        ReadCase{"CrLf", "[XHBX]\r\nxhzq=30\r\nb=2\r\n", "XHBX", "b", "d", "2"},
        ReadCase{"LfOnly", "[XHBX]\nxhzq=30\nb=2\n", "XHBX", "b", "d", "2"},
        ReadCase{"CrOnly", "[XHBX]\rxhzq=30\rb=2\r", "XHBX", "b", "d", "2"},
        ReadCase{"MixedEnds", "[A]\r\na=1\nb=2\rc=3\r\n[B]\rc=4", "A", "c", "d", "3"},
        ReadCase{"CrOnlySectionsStaySeparate", "[A]\ra=1\r[B]\rc=4", "A", "c", "d", "d"},
        ReadCase{"NoFinalBreak", "[A]\r\nk=last", "A", "k", "d", "last"},
        // names
        ReadCase{"SectionCaseIgnored", "[xhbx]\r\nk=1\r\n", "XHBX", "k", "d", "1"},
        ReadCase{"KeyCaseIgnored", "[S]\r\nOnTimeTxnr=x\r\n", "S", "ONTIMETXNR", "d", "x"},
        ReadCase{"BlanksInsideBrackets", "[ \tS \t]\r\nk=1\r\n", "S", "k", "d", "1"},
        ReadCase{"IndentedSectionLine", "  \t[S]\r\nk=1\r\n", "S", "k", "d", "1"},
        ReadCase{"TextAfterBracketIgnored", "[S] junk\r\nk=1\r\n", "S", "k", "d", "1"},
        ReadCase{"SectionWithoutClosingBracket", "[S\r\nk=1\r\n", "S", "k", "d", "1"},
        ReadCase{"BracketWithoutOpeningIsNoSection", "S]\r\nk=1\r\n", "S", "k", "d", "d"},
        ReadCase{"BlanksAroundKey", "[S]\r\n \t k \t=1\r\n", "S", "k", "d", "1"},
        ReadCase{"CallerNamesTrimmed", "[S]\r\nk=1\r\n", " S\t", "\tk ", "d", "1"},
        ReadCase{"InnerBlankInNameMatters", "[S]\r\na b=1\r\n", "S", "ab", "d", "d"},
        // values
        ReadCase{"BlanksAndTabsAroundValue", "[S]\r\nk= \t v 1 \t \r\n", "S", "k", "d", "v 1"},
        ReadCase{"EqualsInValue", "[S]\r\nk=a=b\r\n", "S", "k", "d", "a=b"},
        ReadCase{"BracketsInValue", "[S]\r\nk=[T]\r\n", "S", "k", "d", "[T]"},
        ReadCase{"DoubleQuotesStripped", "[S]\r\nk=\" a b \"\r\n", "S", "k", "d", " a b "},
        ReadCase{"SingleQuotesStripped", "[S]\r\nk= 'x' \r\n", "S", "k", "d", "x"},
        ReadCase{"OnlyOnePairStripped", "[S]\r\nk=\"\"x\"\"\r\n", "S", "k", "d", "\"x\""},
        ReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"x'\r\n", "S", "k", "d", "\"x'"},
        ReadCase{"LoneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "d", "\""},
        ReadCase{"QuotesInsideKept", "[S]\r\nk=a\"b\"\r\n", "S", "k", "d", "a\"b\""},
        ReadCase{"EmptyQuotesGiveEmpty", "[S]\r\nk=''\r\n", "S", "k", "d", ""},
        ReadCase{"EmptyValueIsNotDefault", "[S]\r\nk=\r\n", "S", "k", "120", ""},
        ReadCase{"BlankValueIsEmpty", "[S]\r\nk= \t \r\n", "S", "k", "120", ""},
        ReadCase{"NulEndsValue", "[S]\r\nk=a\0b\r\n"s, "S", "k", "d", "a"},
        // comments and lines that are no keys
        ReadCase{"CommentKeyNeverFound", "[S]\r\n;k=1\r\n", "S", ";k", "d", "d"},
        ReadCase{"IndentedCommentKey", "[S]\r\n  ;k=1\r\nk=2\r\n", "S", "k", "d", "2"},
        ReadCase{"SemicolonInValueIsPlain", "[S]\r\nk=v ; note\r\n", "S", "k", "d", "v ; note"},
        ReadCase{"HashIsPlain", "[S]\r\n#k=1\r\n", "S", "#k", "d", "1"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[S]\r\nk\r\n", "S", "k", "d", "d"},
        ReadCase{"LinesBeforeFirstSection", "k=1\r\n[S]\r\n", "S", "k", "d", "d"},
        ReadCase{"KeyOfOtherSection", "[S]\r\n[T]\r\nk=1\r\n", "S", "k", "d", "d"},
        // first match wins
        ReadCase{"FirstKeyWins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "d", "1"},
        ReadCase{"FirstSectionWins", "[S]\r\na=1\r\n[s]\r\nk=2\r\n", "S", "k", "d", "d"},
        // defaults
        ReadCase{"MissingSection", "[T]\r\nk=1\r\n", "S", "k", "def", "def"},
        ReadCase{"EmptyContent", "", "S", "k", "def", "def"},
        ReadCase{"DefaultTrailingBlanksRemoved", "", "S", "k", " d e  ", " d e"},
        ReadCase{"DefaultOnlyBlanks", "", "S", "k", "   ", ""},
        // a byte-order mark is part of the first line
        ReadCase{"Utf8BomHidesFirstSection", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "d", "d"},
        ReadCase{"Utf8BomOnOwnLine", "\xEF\xBB\xBF\r\n[S]\r\nk=1\r\n", "S", "k", "d", "1"},
        // GBK: a trail byte may look like a structure character
        ReadCase{"GbkValue", "[XHBX]\r\ntxnr=\xb8\xc3\xd7\xbc\r\n", "XHBX", "txnr", "d", "\xb8\xc3\xd7\xbc"},
        ReadCase{"GbkTrailBracketInSection", "[\x81]]\r\nk=1\r\n", "\x81]", "k", "d", "1"},
        ReadCase{"GbkTrailBracketNotCut", "[\x81]]\r\nk=1\r\n", "\x81", "k", "d", "d"},
        ReadCase{"GbkTrailOpenBracketInKey", "[S]\r\n\x81[=1\r\n", "S", "\x81[", "d", "1"},
        ReadCase{"GbkTrailBackslash", "[S]\r\nk=\x95\\\r\n", "S", "k", "d", "\x95\\"},
        ReadCase{"GbkLeadBeforeEquals", "[S]\r\n\x81=v\r\n", "S", "\x81", "d", "v"},
        ReadCase{"GbkLeadBeforeSemicolon", "[S]\r\nk=\x81;x\r\n", "S", "k", "d", "\x81;x"},
        ReadCase{"GbkTrailLetterNotCaseFolded", "[S]\r\n\x81\x61=1\r\n", "S", "\x81\x41", "d", "d"},
        ReadCase{"GbkNameAsciiStillFolded", "[S]\r\n\xb2\xe2X=1\r\n", "S", "\xb2\xe2x", "d", "1"},
        ReadCase{"GbkSectionUnclosedByTrail", "[ab\x81]\r\nk=1\r\n", "ab\x81]", "k", "d", "1"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ProfileReadCut, ValueIsCutToBufferSizeLessOne) {
    const std::string longValue(3000, 'x');
    const std::string content = "[S]\r\nk=" + longValue + "\r\n";
    EXPECT_EQ(plat::ProfileReadText(content, "S", "k", ""), std::string(2047, 'x'));
    EXPECT_EQ(plat::ProfileReadText(content, "S", "k", "", 10), std::string(9, 'x'));
    EXPECT_EQ(plat::ProfileReadText(content, "S", "k", "", 1), "");
    EXPECT_EQ(plat::ProfileReadText(content, "S", "k", "", 0), "");
}

TEST(ProfileReadCut, ExactBufferFitsAndQuotesGoFirst) {
    const std::string fits(2047, 'y');
    EXPECT_EQ(plat::ProfileReadText("[S]\nk=" + fits + "\n", "S", "k", ""), fits);
    // The quotes are removed before the cut, so 2047 bytes of text survive inside them.
    EXPECT_EQ(plat::ProfileReadText("[S]\nk=\"" + fits + "\"\n", "S", "k", ""), fits);
    // A long default is cut the same way.
    EXPECT_EQ(plat::ProfileReadText("", "S", "k", std::string(3000, 'z')), std::string(2047, 'z'));
}

TEST(ProfileReadRobustness, MegabyteLineAndArbitraryBytes) {
    std::string big = "[S]\r\nk=" + std::string(1 << 20, '\x81') + "\r\nj=2\r\n";
    EXPECT_EQ(plat::ProfileReadText(big, "S", "k", "").size(), 2047u);
    EXPECT_EQ(plat::ProfileReadText(big, "S", "j", ""), "2");

    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
    std::string noise;
    for (int i = 0; i < 64; ++i) noise += bytes;
    EXPECT_EQ(plat::ProfileReadText(noise, "S", "k", "d"), "d");
    EXPECT_EQ(plat::ProfileReadText("[", "", "", "d"), "d");
    EXPECT_EQ(plat::ProfileReadText("[\x81", "\x81", "k", "d"), "d");
}

}  // namespace
