// The settings-file cases. Expected results follow the rules of the Windows profile functions.
#include "ProfileCases.h"

namespace profilecases {
namespace {

constexpr const char* kWineRewrites =
    "Wine rewrites the whole file in its own layout (CR LF, blank lines dropped, new keys at the end of "
    "the section)";
constexpr const char* kWineFindsComments = "Wine's lookup does not skip lines whose key begins with ';'";
constexpr const char* kWineReadsBom = "Wine takes a UTF-8 byte-order mark as the file's encoding";
constexpr const char* kWineNeedsBracket = "Wine does not take a line without the closing ']' as a section";
constexpr const char* kWineTrimsLeadingOnly =
    "Wine's writer trims only the leading blanks of the names, and also those of the value";

const std::string kLong(3000, 'x');

}  // namespace

const std::vector<Case>& All() {
    static const std::vector<Case> cases = {
        // Reading: line ends.
        {"ReadCrLf", "[XHBX]\r\nxhzq=30\r\nb=2\r\n", Op::Read, "XHBX", "b", "d", "2"},
        {"ReadLfOnly", "[XHBX]\nxhzq=30\nb=2\n", Op::Read, "XHBX", "b", "d", "2"},
        {"ReadCrOnly", "[XHBX]\rxhzq=30\rb=2\r", Op::Read, "XHBX", "b", "d", "2"},
        // Names and blanks.
        {"ReadNamesIgnoreCase", "[xhbx]\r\nXHZQ=30\r\n", Op::Read, "XHBX", "xhzq", "d", "30"},
        {"ReadBlanksAroundNamesAndValue", "[ XHBX\t]\r\n  xhzq \t=  30 \t\r\n", Op::Read, "XHBX", "xhzq", "d",
         "30"},
        {"ReadVerticalTabsAroundNamesAndValue", "[\vXHBX\v]\r\n\v xhzq\v=\v30\t\v\r\n", Op::Read, "XHBX",
         "xhzq", "d", "30"},
        {"ReadVerticalTabsAroundQuotedValue", "[S]\r\nk=\v\"\va\v\"\v\r\n", Op::Read, "S", "k", "d", "\va\v"},
        {"ReadSectionWithoutClosingBracket", "[XHBX\r\nxhzq=30\r\n", Op::Read, "XHBX", "xhzq", "d", "30",
         kWineNeedsBracket},
        {"ReadLineWithoutEqualsIsNoKey", "[S]\r\nxhzq\r\n", Op::Read, "S", "xhzq", "d", "d"},
        {"ReadBeforeFirstSectionUnreachable", "xhzq=1\r\n[S]\r\n", Op::Read, "S", "xhzq", "d", "d"},
        {"ReadFirstSectionAndKeyWin", "[S]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n", Op::Read, "S", "k", "d", "1"},
        {"ReadOtherSectionNotSearched", "[S]\r\na=1\r\n[T]\r\nk=3\r\n", Op::Read, "S", "k", "d", "d"},
        // Comments.
        {"ReadCommentLineIsNeverFound", "[S]\r\n;k=1\r\n", Op::Read, "S", ";k", "d", "d", kWineFindsComments},
        {"ReadCommentLineBeforeKey", "[S]\r\n; note\r\nk=2\r\n", Op::Read, "S", "k", "d", "2"},
        {"ReadSemicolonInsideValue", "[S]\r\nk=a;b\r\n", Op::Read, "S", "k", "d", "a;b"},
        {"ReadHashIsPlain", "[S]\r\n#k=1\r\n", Op::Read, "S", "#k", "d", "1"},
        // Quotes.
        {"ReadDoubleQuotesStripped", "[S]\r\nk=  \" a b \"  \r\n", Op::Read, "S", "k", "d", " a b "},
        {"ReadSingleQuotesStripped", "[S]\r\nk='x'\r\n", Op::Read, "S", "k", "d", "x"},
        {"ReadMismatchedQuotesStay", "[S]\r\nk=\"x'\r\n", Op::Read, "S", "k", "d", "\"x'"},
        // Missing things and the buffer.
        {"ReadMissingFileGivesTrimmedDefault", std::nullopt, Op::Read, "S", "k", "120  ", "120"},
        {"ReadMissingKeyGivesDefault", "[S]\r\na=1\r\n", Op::Read, "S", "k", "dflt", "dflt"},
        {"ReadEmptyValueIsNotTheDefault", "[S]\r\nk=\r\n", Op::Read, "S", "k", "d", ""},
        {"ReadLongValueIsCut", "[S]\r\nk=" + kLong + "\r\n", Op::Read, "S", "k", "d", kLong.substr(0, 2047)},
        {"ReadGbkValue", "[XHBX]\r\ntxnr=\xd6\xf7\xc8\xcb\r\n", Op::Read, "XHBX", "txnr", "d",
         "\xd6\xf7\xc8\xcb"},
        {"ReadByteOrderMarkIsPartOfFirstLine", "\xef\xbb\xbf[S]\r\nk=1\r\n", Op::Read, "S", "k", "d", "d",
         kWineReadsBom},

        // Writing.
        {"WriteCreatesFile", std::nullopt, Op::Write, "XHBX", "xhzq", "30", "[XHBX]\r\nxhzq=30\r\n"},
        {"WriteReplacesValueOnly", "[S]\r\nXHZQ=45\r\nb=1\r\n", Op::Write, "S", "xhzq", "60",
         "[S]\r\nXHZQ=60\r\nb=1\r\n"},
        {"WriteReplaceKeepsBlanksBeforeEquals", "[S]\r\n  XHZQ = 45 \r\n", Op::Write, "S", "xhzq", "60",
         "[S]\r\n  XHZQ =60\r\n", kWineRewrites},
        {"WriteNewKeyAfterLastKey", "[S]\r\na=1\r\n[T]\r\nb=1\r\n", Op::Write, "S", "c", "2",
         "[S]\r\na=1\r\nc=2\r\n[T]\r\nb=1\r\n"},
        {"WriteNewKeyBeforeTrailingComment", "[S]\r\na=1\r\n; end\r\n", Op::Write, "S", "c", "2",
         "[S]\r\na=1\r\nc=2\r\n; end\r\n", kWineRewrites},
        {"WriteNewSectionAtEnd", "[S]\r\na=1\r\n", Op::Write, "T", "b", "2", "[S]\r\na=1\r\n[T]\r\nb=2\r\n"},
        {"WriteNewSectionAfterMissingLineBreak", "[S]\r\na=1", Op::Write, "T", "b", "2",
         "[S]\r\na=1\r\n[T]\r\nb=2\r\n"},
        {"WriteKeepsBlankLinesAndComments", "; head\r\n\r\n[S]\r\na=1\r\n\r\n[T]\r\nb=1\r\n", Op::Write, "T",
         "b", "2", "; head\r\n\r\n[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", kWineRewrites},
        {"WriteKeepsLfLineEnds", "[S]\nk=1\nz=0\n", Op::Write, "S", "k", "2", "[S]\nk=2\nz=0\n",
         kWineRewrites},
        {"WriteNamesTrimmedValueAsGiven", std::nullopt, Op::Write, " S ", " k ", " v ", "[S]\r\nk= v \r\n",
         kWineTrimsLeadingOnly},
        {"WriteGbkValue", "[XHBX]\r\ntxnr=a\r\n", Op::Write, "XHBX", "txnr", "\xd6\xf7\xc8\xcb",
         "[XHBX]\r\ntxnr=\xd6\xf7\xc8\xcb\r\n"},
        {"WriteExistingKeyInSecondMatchingSectionIgnored", "[S]\r\na=1\r\n[S]\r\nk=1\r\n", Op::Write, "S",
         "k", "2", "[S]\r\na=1\r\nk=2\r\n[S]\r\nk=1\r\n"},
    };
    return cases;
}

}  // namespace profilecases
