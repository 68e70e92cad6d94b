// The text codec: list -> text, text -> list on awkward input, round trips of safe lists, and reading
// arbitrary bytes without failing.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "LineCases.h"
#include "settings/uStrList.h"
#include "settings/uToolsObj.h"

namespace {

using settings_test::Lines;
using settings_test::ListOf;

Lines Read(const AnsiString& text) {
    return TJSon::JsonToList(text)->Lines;
}

using ReadCase = settings_test::TextCase;

class JSonRead : public testing::TestWithParam<ReadCase> {};

TEST_P(JSonRead, KeepsOnlyCompleteQuotedEntries) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(Read(c.text), c.lines) << c.what << "\n  text: " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JSonRead,
    testing::Values(
        ReadCase{"two entries in order", R"({"a" : "1" , "b" : "2"})", {"a=1", "b=2"}},
        ReadCase{"empty text", "", {}}, ReadCase{"empty object", "{}", {}},
        ReadCase{"only an opening brace", "{", {}}, ReadCase{"only a closing brace", "}", {}},
        ReadCase{"no outer braces", R"("a" : "1")", {"a=1"}},
        ReadCase{"no blanks between the parts", R"({"a":"1","b":"2"})", {"a=1", "b=2"}},
        ReadCase{"later name replaces earlier in place, with its own case",
                 R"({"Key" : "1" , "b" : "2" , "KEY" : "3"})",
                 {"KEY=3", "b=2"}},
        ReadCase{"empty value deletes the earlier entry", R"({"a" : "1" , "b" : "2" , "A" : ""})", {"b=2"}},
        ReadCase{"empty value alone stores nothing", R"({"a" : ""})", {}},
        // The quote after x closes the value; y is dropped and the pairing of the rest shifts by one.
        ReadCase{"double quote inside a value", R"({"a" : "x"y" , "b" : "2"})", {"a=x", " , = : "}},
        ReadCase{"bare number skipped, name takes the next string", R"({"n" : 5 , "m" : "v"})", {"n=m"}},
        ReadCase{"bare word skipped, the rest pairs shifted",
                 R"({"n" : true , "m" : "v" , "k" : "w"})",
                 {"n=m", "v=k"}},
        ReadCase{"bare array skipped, quotes inside it dropped", R"({"n" : [1, "x"] , "m" : "v"})", {"n=m"}},
        ReadCase{"bare object skipped", R"({"n" : {"x" : "y"} , "m" : "v"})", {"n=m"}},
        ReadCase{"balanced brackets stay in the value, their quotes go",
                 R"({"a" : "[1,"2"]" , "b" : "2"})",
                 {"a=[1,2]", "b=2"}},
        ReadCase{"balanced braces stay in the name", R"({"{"k"}" : "1"})", {"{k}=1"}},
        ReadCase{"unbalanced [ swallows the rest", R"({"z" : "0" , "a" : "x[y" , "b" : "2"})", {"z=0"}},
        ReadCase{"unbalanced { swallows the rest", R"({"a" : "x{y" , "b" : "2"})", {}},
        ReadCase{"unbalanced [ in a name swallows the rest", R"({"[a" : "1"})", {}},
        // A stray "]" takes the depth below zero, so the "[" after it only brings it back to zero.
        ReadCase{"depth goes negative", R"({"a" : "]x[y" , "b" : "2"})", {"a=]x[y", "b=2"}},
        ReadCase{"blank before the opening brace", R"( {"a" : "1"})", {}},
        ReadCase{"blank after the closing brace", R"({"a" : "1"} )", {"a=1"}},
        ReadCase{"doubled braces: the inner pair counts", R"({{"a" : "1"}})", {}},
        ReadCase{"entry still open at the end is lost", R"({"a" : "1" , "b" : "2)", {"a=1"}},
        ReadCase{"name without value at the end is lost", R"({"a" : "1" , "b")", {"a=1"}},
        ReadCase{"equals in a name splits it", R"({"a=b" : "1"})", {"a=b=1"}},
        ReadCase{"equals in a name: a later shorter name finds that line",
                 R"({"a=b" : "1" , "A" : "2"})",
                 {"A=2"}},
        ReadCase{
            "blanks, colons and commas kept inside strings", R"({" a: b " : " 1, 2 "})", {" a: b = 1, 2 "}},
        ReadCase{"backslash is an ordinary byte", R"({"p" : "C:\dir\" , "q" : "1"})", {"p=C:\\dir\\", "q=1"}},
        ReadCase{"line break inside a value kept", "{\"a\" : \"x\r\ny\"}", {"a=x\r\ny"}},
        ReadCase{"GBK text kept byte for byte", "{\"\xC4\xE3\" : \"\xBA\xC3\"}", {"\xC4\xE3=\xBA\xC3"}},
        // 0x81 0x5B is one double-byte character whose second byte is "[".
        ReadCase{"GBK trail byte [ opens a bracket", "{\"a\" : \"\x81[\" , \"b\" : \"2\"}", {}},
        ReadCase{"GBK trail bytes [ and ] balance",
                 "{\"a\" : \"\x81[\x81]\" , \"b\" : \"2\"}",
                 {"a=\x81[\x81]", "b=2"}},
        ReadCase{"GBK trail byte { opens a brace", "{\"a\" : \"\x81{\" , \"b\" : \"2\"}", {}},
        ReadCase{
            "GBK trail byte } closes a brace", "{\"a\" : \"\x81}\" , \"b\" : \"2\"}", {"a=\x81}", "b=2"}}));

struct WriteCase {
    const char* what;
    Lines lines;
    AnsiString text;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.what;
}

class JSonWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(JSonWrite, WritesEveryByteAsItStands) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(TJSon::ListToJson(ListOf(c.lines)), c.text) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JSonWrite,
    testing::Values(WriteCase{"empty list", {}, "{}"}, WriteCase{"one entry", {"a=1"}, R"({"a" : "1"})"},
                    WriteCase{"entries in list order", {"b=2", "a=1"}, R"({"b" : "2" , "a" : "1"})"},
                    WriteCase{"split at the first equals", {"a=b=c"}, R"({"a" : "b=c"})"},
                    WriteCase{"quote not escaped", {"k=x\"y"}, R"({"k" : "x"y"})"},
                    WriteCase{"empty name and empty value", {"=v", "e="}, R"({"" : "v" , "e" : ""})"},
                    WriteCase{
                        "GBK bytes unchanged", {"\xC4\xE3=\x81[\x81]"}, "{\"\xC4\xE3\" : \"\x81[\x81]\"}"}));

// Bytes that cannot disturb the format: anything but the quote, the four bracket bytes and "=".
std::vector<char> SafeBytes() {
    std::vector<char> bytes;
    for (int b = 1; b < 256; ++b) {
        if (b == '"' || b == '[' || b == ']' || b == '{' || b == '}' || b == '=') continue;
        bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

AnsiString RandomText(std::mt19937& rng, const std::vector<char>& alphabet, int minLen, int maxLen) {
    std::uniform_int_distribution<int> len(minLen, maxLen);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    AnsiString s;
    for (int n = len(rng); n > 0; --n) s += alphabet[pick(rng)];
    return s;
}

AnsiString FoldCase(AnsiString s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

TEST(JSonProperty, SafeListsRoundTripExactly) {
    std::mt19937 rng(20240611);
    const std::vector<char> safe = SafeBytes();
    // Mostly letters and separators so that names collide in case and the scanner sees ":" and ",".
    const std::vector<char> letters = {'a', 'A', 'b', 'B', ' ', ':', ',', '\\', '\xB0', '\xA1'};
    for (int round = 0; round < 300; ++round) {
        TStringList list;
        std::set<AnsiString> folded;
        std::uniform_int_distribution<int> count(0, 8);
        for (int n = count(rng); n > 0; --n) {
            const auto& nameAlphabet = (round % 2 == 0) ? safe : letters;
            const AnsiString name = RandomText(rng, nameAlphabet, 0, 6);
            if (!folded.insert(FoldCase(name)).second) continue;
            list.Add(name + "=" + RandomText(rng, safe, 1, 12));
        }
        const AnsiString text = TJSon::ListToJson(list);
        const auto back = TJSon::JsonToList(text);
        ASSERT_EQ(back->Lines, list.Lines) << "round " << round << ", text: " << text;
        ASSERT_EQ(TJSon::ListToJson(*back), text) << "round " << round;
    }
}

// Whatever the bytes, the reader stops at the end of the text and what it stores obeys the list's rules:
// every line has a name and a non-empty value, and no two names are equal when case is folded.
void ExpectSaneList(const AnsiString& text) {
    const auto list = TJSon::JsonToList(text);
    std::set<AnsiString> names;
    for (int i = 0; i < list->Count(); ++i) {
        ASSERT_NE(list->Strings(i).find('='), AnsiString::npos) << text;
        ASSERT_FALSE(list->ValueFromIndex(i).empty()) << text;
        ASSERT_TRUE(names.insert(FoldCase(list->Names(i))).second) << text;
    }
}

TEST(JSonProperty, RandomAndTruncatedInputNeverFails) {
    std::mt19937 rng(7);
    // No "=" here, so that names stay whole and the uniqueness check holds.
    const std::vector<char> syntax = {'"', '"', '"', '[', ']', '{',    '}',
                                      ':', ',', ' ', 'a', 'A', '\x81', '\\'};
    for (int round = 0; round < 2000; ++round) {
        ExpectSaneList(RandomText(rng, syntax, 0, 48));
    }
    std::vector<char> all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    for (int round = 0; round < 300; ++round) {
        const AnsiString bytes = RandomText(rng, all, 0, 64);
        EXPECT_NO_THROW(TJSon::JsonToList(bytes));
    }
    const AnsiString full = R"({"Circle_Time" : "7200" , "name" : "[x]" , "t" : "{"y"}" , "g" : ")"
                            "\x81[\x81]\"}";
    for (std::size_t len = 0; len <= full.size(); ++len) {
        // Each prefix is copied to its own buffer so a read past its end shows up under a memory checker.
        ExpectSaneList(AnsiString(full, 0, len));
    }
}

}  // namespace
