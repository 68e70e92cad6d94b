// TStringList: lines of "name=value". Lookups compare names byte for byte except that ASCII letters
// match either case; bytes of double-byte characters are never folded.
#include "settings/uStrList.h"

#include <cstddef>

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextAscii(const AnsiString& a, const AnsiString& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

}  // namespace

AnsiString TStringList::Names(int index) const {
    const AnsiString& line = Strings(index);
    return line.substr(0, line.find('='));
}

AnsiString TStringList::ValueFromIndex(int index) const {
    const AnsiString& line = Strings(index);
    const std::size_t eq = line.find('=');
    return eq == AnsiString::npos ? AnsiString() : line.substr(eq + 1);
}

int TStringList::IndexOfName(const AnsiString& name) const {
    for (int i = 0; i < Count(); ++i) {
        if (SameTextAscii(Names(i), name)) return i;
    }
    return -1;
}

AnsiString TStringList::Values(const AnsiString& name) const {
    const int index = IndexOfName(name);
    return index < 0 ? AnsiString() : ValueFromIndex(index);
}

void TStringList::SetValues(const AnsiString& name, const AnsiString& value) {
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Lines.erase(Lines.begin() + index);
        return;
    }
    // The line is rebuilt from the name passed in, so a later spelling replaces the earlier letter case.
    AnsiString line = name + "=" + value;
    if (index >= 0) {
        Lines[static_cast<std::size_t>(index)] = std::move(line);
    } else {
        Lines.push_back(std::move(line));
    }
}

void TStringList::SetText(const AnsiString& text) {
    Lines.clear();
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        Lines.push_back(text.substr(start, i - start));
        ++i;
        if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
        start = i;
    }
    if (start < text.size()) Lines.push_back(text.substr(start));
}
