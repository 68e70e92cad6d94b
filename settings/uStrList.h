#pragma once
// An ordered list of text lines, each "name=value", with name lookup that ignores ASCII letter case.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/Types.h"

class TStringList {
public:
    int Count() const { return static_cast<int>(Lines.size()); }
    const AnsiString& Strings(int index) const { return Lines.at(static_cast<std::size_t>(index)); }
    void Add(const AnsiString& line) { Lines.push_back(line); }
    void Clear() { Lines.clear(); }

    // The part of line index before its first '=' (the whole line when it has none).
    AnsiString Names(int index) const;
    // The part after the first '=' (empty when it has none).
    AnsiString ValueFromIndex(int index) const;
    // Index of the first line whose name equals name (ASCII case-insensitive), or -1.
    int IndexOfName(const AnsiString& name) const;
    // The value of the first line with that name; empty when there is none.
    AnsiString Values(const AnsiString& name) const;
    // Non-empty value: rewrites the found line in place as name=value, or appends it.
    // Empty value: deletes the found line, or does nothing.
    void SetValues(const AnsiString& name, const AnsiString& value);

    // Splits text into lines at CR, LF or CR LF; a final line break adds no empty line.
    void SetText(const AnsiString& text);

    std::vector<AnsiString> Lines;
};
