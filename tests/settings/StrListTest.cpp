// The name=value list: lookups, setting and deleting by name, splitting text into lines.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "LineCases.h"
#include "settings/uStrList.h"

namespace {

using settings_test::Lines;
using settings_test::ListOf;
using settings_test::TextCase;

TEST(StrList, NamesAndValuesSplitAtTheFirstEquals) {
    const TStringList list = ListOf({"a=b=c", "=v", "k=", "plain"});
    EXPECT_EQ(list.Names(0), "a");
    EXPECT_EQ(list.ValueFromIndex(0), "b=c");
    EXPECT_EQ(list.Names(1), "");
    EXPECT_EQ(list.ValueFromIndex(1), "v");
    EXPECT_EQ(list.Names(2), "k");
    EXPECT_EQ(list.ValueFromIndex(2), "");
    EXPECT_EQ(list.Names(3), "plain");
    EXPECT_EQ(list.ValueFromIndex(3), "");
}

TEST(StrList, LookupFindsTheFirstMatchIgnoringAsciiCaseOnly) {
    const TStringList list = ListOf({"Key=1", "KEY=2", "a=b=c", "\xC4\xE3=gbk"});
    EXPECT_EQ(list.IndexOfName("kEy"), 0);
    EXPECT_EQ(list.Values("key"), "1");
    EXPECT_EQ(list.Values("a"), "b=c");
    // A name never contains the line's first "=", so "a=b" is not a name here.
    EXPECT_EQ(list.IndexOfName("a=b"), -1);
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("missing"), -1);
    EXPECT_EQ(list.Values("\xC4\xE3"), "gbk");
    // Bytes of a double-byte character are not letters: 0xC4 and 0xE4 differ by 0x20 but must not match.
    EXPECT_EQ(list.IndexOfName("\xE4\xE3"), -1);
    // Only the ASCII letters fold: '@' (0x40) and '`' (0x60) are different names.
    EXPECT_EQ(ListOf({"@=1"}).IndexOfName("`"), -1);
}

struct SetCase {
    const char* what;
    Lines before;
    AnsiString name;
    AnsiString value;
    Lines after;
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.what;
}

class StrListSetValues : public testing::TestWithParam<SetCase> {};

TEST_P(StrListSetValues, RewritesInPlaceAppendsOrDeletes) {
    const SetCase& c = GetParam();
    TStringList list = ListOf(c.before);
    list.SetValues(c.name, c.value);
    EXPECT_EQ(list.Lines, c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrListSetValues,
    testing::Values(
        SetCase{"append to empty", {}, "a", "1", {"a=1"}},
        SetCase{"append keeps order", {"b=2"}, "a", "1", {"b=2", "a=1"}},
        SetCase{"rewrite in place with the new case",
                {"x=0", "Name=1", "y=2"},
                "NAME",
                "9",
                {"x=0", "NAME=9", "y=2"}},
        SetCase{"only the first match is rewritten", {"a=1", "A=2"}, "a", "3", {"a=3", "A=2"}},
        SetCase{"empty value deletes the first match", {"x=0", "a=1", "A=2"}, "A", "", {"x=0", "A=2"}},
        SetCase{"empty value on a missing name adds nothing", {"x=0"}, "a", "", {"x=0"}},
        SetCase{"value with equals and blanks kept", {}, "k", " b = c ", {"k= b = c "}},
        SetCase{"empty name", {"a=1"}, "", "v", {"a=1", "=v"}},
        SetCase{"name with equals never matches its own line", {"a=b=1"}, "a=b", "2", {"a=b=1", "a=b=2"}}));

class StrListSetText : public testing::TestWithParam<TextCase> {};

TEST_P(StrListSetText, SplitsAtEveryKindOfLineBreak) {
    const TextCase& c = GetParam();
    TStringList list = ListOf({"old=1"});
    list.SetText(c.text);
    EXPECT_EQ(list.Lines, c.lines) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrListSetText,
    testing::Values(TextCase{"empty", "", {}}, TextCase{"one line without a break", "a=1", {"a=1"}},
                    TextCase{"final break adds no line", "a=1\r\n", {"a=1"}},
                    TextCase{"LF, CR and CR LF", "a\nb\rc\r\nd", {"a", "b", "c", "d"}},
                    TextCase{"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
                    TextCase{"empty lines stay", "\n\na\n\n", {"", "", "a", ""}},
                    TextCase{"a lone break is one empty line", "\r\n", {""}},
                    TextCase{"blanks are kept", "  a = 1 \t\n b ", {"  a = 1 \t", " b "}}));

}  // namespace
