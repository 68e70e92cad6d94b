// TJSon: the one-line text form of a name=value list. Writing copies names and values byte for byte
// with no escaping; reading is a small state machine over single bytes that keeps only quoted strings
// and never fails, whatever the input.
#include <cstddef>
#include <memory>

#include "settings/uToolsObj.h"

AnsiString TJSon::ListToJson(const TStringList& list) {
    AnsiString result = "{";
    for (int i = 0; i < list.Count(); ++i) {
        if (i > 0) result += " , ";
        result += '"';
        result += list.Names(i);
        result += "\" : \"";
        result += list.ValueFromIndex(i);
        result += '"';
    }
    result += '}';
    return result;
}

namespace {

// The reader's whole memory between bytes.
struct ScanState {
    bool inName = false;
    bool nameDone = false;
    bool inValue = false;
    bool inBrackets = false;
    bool inBraces = false;
    AnsiString name;
    AnsiString value;
    int bracketDepth = 0;  // may go below zero on a stray closing byte
    int braceDepth = 0;

    void Reset() { *this = ScanState(); }

    // Keeps the byte in the string being read, if any; outside a string it is lost.
    void Collect(char c) {
        if (inName) {
            name += c;
        } else if (inValue) {
            value += c;
        }
    }
};

}  // namespace

std::unique_ptr<TStringList> TJSon::JsonToList(const AnsiString& text) {
    auto list = std::make_unique<TStringList>();

    // Only one outer brace on each side is taken off, and only when it is the very first / last byte.
    std::size_t begin = 0;
    std::size_t end = text.size();
    if (end > begin && text[begin] == '{') ++begin;
    if (end > begin && text[end - 1] == '}') --end;

    ScanState s;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = text[i];
        switch (c) {
            case '"':
                // Inside an open bracket or brace, quotes carry no meaning and vanish.
                if (s.inBrackets || s.inBraces) break;
                if (!s.nameDone && !s.inName) {
                    s.inName = true;
                } else if (s.inName && !s.nameDone) {
                    s.inName = false;
                    s.nameDone = true;
                } else if (s.nameDone && !s.inValue) {
                    s.inValue = true;
                } else if (s.nameDone && s.inValue) {
                    list->SetValues(s.name, s.value);
                    s.Reset();
                }
                break;
            case '[':
                ++s.bracketDepth;
                s.inBrackets = s.bracketDepth > 0;
                s.Collect(c);
                break;
            case ']':
                --s.bracketDepth;
                s.inBrackets = s.bracketDepth > 0;
                s.Collect(c);
                break;
            case '{':
                ++s.braceDepth;
                s.inBraces = s.braceDepth > 0;
                s.Collect(c);
                break;
            case '}':
                --s.braceDepth;
                s.inBraces = s.braceDepth > 0;
                s.Collect(c);
                break;
            case ':':
                if (!s.inName && !s.inValue) break;
                s.Collect(c);
                break;
            case ',':
                if (s.nameDone && !s.inValue) break;
                s.Collect(c);
                break;
            default:
                s.Collect(c);
                break;
        }
    }
    // A name or value still open here is incomplete and is not stored.
    return list;
}
