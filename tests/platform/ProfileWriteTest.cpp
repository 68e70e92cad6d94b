// Writing one value into INI text: where the line goes and that every other byte stays.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/Profile.h"

namespace {

struct WriteCase {
    const char* name;
    std::string content;
    std::string section;
    std::string key;
    std::string value;
    std::string expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileWriteTable : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWriteTable, WritesExactBytes) {
    const WriteCase& c = GetParam();
    const std::string written = plat::ProfileWriteText(c.content, c.section, c.key, c.value);
    EXPECT_EQ(written, c.expected);
    // Whatever was written reads back (the values here carry no outer blanks or quotes).
    EXPECT_EQ(plat::ProfileReadText(written, c.section, c.key, "<missing>"), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Placement, ProfileWriteTable,
    testing::Values(
        WriteCase{"CreatesFromNothing", "", "XHBX", "xhzq", "30", "[XHBX]\r\nxhzq=30\r\n"},
        // an existing key: its line keeps its place, spelling and line break
        WriteCase{
            "ReplaceKeepsEverythingElse",
            "; settings\r\njunk before\r\n[XHBX]\r\n; note\r\nXhzq = 120 ; "
            "old\r\n\r\nb=2\r\n[T]\r\nxhzq=9\r\n",
            "xhbx", "xhzq", "30",
            "; settings\r\njunk before\r\n[XHBX]\r\n; note\r\nXhzq =30\r\n\r\nb=2\r\n[T]\r\nxhzq=9\r\n"},
        WriteCase{"ReplaceKeepsLfLineEnds", "[S]\nk=1\nj=2\n", "S", "k", "9", "[S]\nk=9\nj=2\n"},
        WriteCase{"ReplaceKeepsCrLineEnds", "[S]\rk=1\rj=2\r", "S", "k", "9", "[S]\rk=9\rj=2\r"},
        WriteCase{"ReplaceLastLineWithoutBreak", "[S]\r\nk=1", "S", "k", "9", "[S]\r\nk=9"},
        WriteCase{"ReplaceQuotedValue", "[S]\r\nk=\"old\"\r\n", "S", "k", "new", "[S]\r\nk=new\r\n"},
        WriteCase{"ReplaceWithEmpty", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
        WriteCase{"ReplaceInFirstOfTwoSections", "[S]\r\nk=1\r\n[S]\r\nk=2\r\n", "S", "k", "9",
                  "[S]\r\nk=9\r\n[S]\r\nk=2\r\n"},
        // a new key: right after the last key line of the section
        WriteCase{"NewKeyBeforeTrailingCommentsAndBlanks", "[S]\r\na=1\r\n; c\r\n\r\n[T]\r\nb=2\r\n", "S",
                  "k", "v", "[S]\r\na=1\r\nk=v\r\n; c\r\n\r\n[T]\r\nb=2\r\n"},
        WriteCase{"NewKeyInSectionWithoutKeys", "[S]\r\n\r\n[T]\r\n", "S", "k", "v",
                  "[S]\r\nk=v\r\n\r\n[T]\r\n"},
        WriteCase{"NewKeyAfterHeaderAtEnd", "[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"NewKeyAfterLastLineWithoutBreak", "[S]\na=1", "S", "k", "v", "[S]\na=1\r\nk=v\r\n"},
        WriteCase{"NewKeyInCrOnlyFile", "[S]\ra=1\r", "S", "k", "v", "[S]\ra=1\rk=v\r\n"},
        WriteCase{"NewKeySkipsCommentKey", "[S]\r\n;k=1\r\n", "S", "k", "v", "[S]\r\nk=v\r\n;k=1\r\n"},
        WriteCase{"NewKeyGoesToFirstSection", "[S]\r\na=1\r\n[s]\r\nk=1\r\n", "S", "k", "v",
                  "[S]\r\na=1\r\nk=v\r\n[s]\r\nk=1\r\n"},
        WriteCase{"KeyBeforeFirstSectionIgnored", "k=1\r\n[S]\r\n", "S", "k", "v", "k=1\r\n[S]\r\nk=v\r\n"},
        // a new section: at the end, no blank line before it
        WriteCase{"NewSectionAtEnd", "[S]\r\na=1\r\n", "T", "k", "v", "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
        WriteCase{"NewSectionAfterLfEnd", "[S]\na=1\n", "T", "k", "v", "[S]\na=1\n[T]\r\nk=v\r\n"},
        WriteCase{"NewSectionAddsMissingBreak", "[S]\r\na=1", "T", "k", "v", "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
        WriteCase{"NewSectionAfterJunkOnly", "junk", "T", "k", "v", "junk\r\n[T]\r\nk=v\r\n"},
        WriteCase{"NewSectionKeepsTrailingBlankLines", "[S]\r\n\r\n\r\n", "T", "k", "v",
                  "[S]\r\n\r\n\r\n[T]\r\nk=v\r\n"},
        WriteCase{"BomIsNoSectionStart", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
                  "\xEF\xBB\xBF[S]\r\nk=1\r\n[S]\r\nk=2\r\n"},
        // names trimmed, value exactly as given
        WriteCase{"NamesTrimmedValueAsGiven", "", " \tS ", " k\t", "a  b;#", "[S]\r\nk=a  b;#\r\n"},
        WriteCase{"GbkValueAndName", "[XHBX]\r\n", "XHBX", "txnr", "\xb8\xc3\xd7\xbc\x95\\",
                  "[XHBX]\r\ntxnr=\xb8\xc3\xd7\xbc\x95\\\r\n"},
        WriteCase{"GbkSectionWithTrailBracket", "[\x81]]\r\nk=1\r\n", "\x81]", "k", "2",
                  "[\x81]]\r\nk=2\r\n"},
        WriteCase{"GbkNewSectionWithTrailBracket", "", "\x81]", "k", "2", "[\x81]]\r\nk=2\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(ProfileWriteSequence, RepeatedWritesBuildTheUsualFile) {
    std::string ini;
    ini = plat::ProfileWriteText(ini, "XHBX", "startXHBJ", "1");
    ini = plat::ProfileWriteText(ini, "XHBX", "xhzq", "120");
    ini = plat::ProfileWriteText(ini, "XTSZ", "NotFirstStart", "1");
    ini = plat::ProfileWriteText(ini, "XHBX", "OnTime", "12:00");
    ini = plat::ProfileWriteText(ini, "XHBX", "xhzq", "30");
    EXPECT_EQ(ini, "[XHBX]\r\nstartXHBJ=1\r\nxhzq=30\r\nOnTime=12:00\r\n[XTSZ]\r\nNotFirstStart=1\r\n");
}

TEST(ProfileWriteRobustness, MegabyteLine) {
    const std::string big(1 << 20, 'v');
    std::string ini = plat::ProfileWriteText("[S]\r\nk=" + big + "\r\nj=1\r\n", "S", "k", "short");
    EXPECT_EQ(ini, "[S]\r\nk=short\r\nj=1\r\n");
    ini = plat::ProfileWriteText(ini, "S", "k", big);
    EXPECT_EQ(ini.size(), 5 + 2 + big.size() + 2 + 5u);
}

// Random text built from the characters that matter: whatever the surrounding bytes, a write must
// keep the text it did not touch and the value must read back.
TEST(ProfileWriteRobustness, RandomStructureBytesReadBack) {
    std::string alphabet = "[]=;\r\n \t\"'aAbBx\x81\x5d\x5b\xff";
    alphabet.push_back('\0');
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string content;
        const std::size_t len = next() % 40;
        for (std::size_t i = 0; i < len; ++i) content.push_back(alphabet[next() % alphabet.size()]);
        const std::string section = (next() % 2) ? "b" : "B";
        const std::string key = (next() % 2) ? "a" : "A";
        const std::string value = "v" + std::to_string(round);
        const std::string written = plat::ProfileWriteText(content, section, key, value);
        ASSERT_EQ(plat::ProfileReadText(written, "b", "a", "<missing>"), value)
            << "content: " << testing::PrintToString(content);
        // Only one stretch of the text changed: a common prefix and suffix cover the rest.
        std::size_t prefix = 0;
        while (prefix < content.size() && prefix < written.size() && content[prefix] == written[prefix])
            ++prefix;
        std::size_t suffix = 0;
        while (suffix < content.size() - prefix && suffix < written.size() - prefix &&
               content[content.size() - 1 - suffix] == written[written.size() - 1 - suffix])
            ++suffix;
        ASSERT_LE(written.size() - prefix - suffix, value.size() + 16)
            << "content: " << testing::PrintToString(content);
    }
}

}  // namespace
