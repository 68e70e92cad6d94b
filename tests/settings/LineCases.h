#pragma once
// Shared by the tests of text that becomes a list of lines: a list built from lines, and a table case
// of a text and the lines it should give.
#include <ostream>
#include <vector>

#include "settings/uStrList.h"

namespace settings_test {

using Lines = std::vector<AnsiString>;

inline TStringList ListOf(const Lines& lines) {
    TStringList list;
    for (const auto& line : lines) list.Add(line);
    return list;
}

// A text and the lines it should give; `what` names the case in the test output.
struct TextCase {
    const char* what;
    AnsiString text;
    Lines lines;
};

inline void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.what;
}

}  // namespace settings_test
