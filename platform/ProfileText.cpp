// Reading and writing one value of INI text held in memory, with the rules of the Windows profile
// functions, so a settings file reads and writes the same on every platform.
//
// The text is GBK. Structure characters are only recognised outside double-byte characters: a GBK
// lead byte followed by a trail byte is one character (its trail byte may be '[', ']' or '\\').
// Everything else is treated as single bytes, so arbitrary input is safe.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/AnsiBytes.h"
#include "platform/Profile.h"

namespace plat {
namespace {

// The blanks the Windows profile functions skip around names and values: blank, tab, vertical tab.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

std::string_view Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool IsLeadByte(unsigned char c) {
    return plat::IsGbkLeadByte(static_cast<char>(c));
}
bool IsTrailByte(unsigned char c) {
    return plat::IsGbkTrailByte(static_cast<char>(c));
}

// Bytes taken by the character at s[i]: 2 for a GBK double-byte character, else 1.
std::size_t CharLen(std::string_view s, std::size_t i) {
    return (IsLeadByte(s[i]) && i + 1 < s.size() && IsTrailByte(s[i + 1])) ? 2 : 1;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Name comparison: ASCII letters without regard to case, double-byte characters byte for byte.
bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        std::size_t n = CharLen(a, i);
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

// One line of the text: its bytes are [begin, end), its line break [end, next).
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// The line that starts at pos (pos < text.size()). CR LF, LF and CR each end a line.
Line LineAt(std::string_view text, std::size_t pos) {
    Line line{pos, pos, pos};
    std::size_t brk = text.find_first_of("\r\n", pos);
    if (brk == std::string_view::npos) {
        line.end = line.next = text.size();
    } else {
        line.end = brk;
        line.next = brk + 1;
        if (text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n') ++line.next;
    }
    return line;
}

enum class LineKind { Other, Section, Key, Comment };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;     // section or key name, trimmed
    std::string_view value;    // key value, trimmed (quotes still on)
    std::size_t equalsAt = 0;  // offset of the '=' within the line (keys and comments)
};

ParsedLine ParseLine(std::string_view text) {
    ParsedLine parsed;
    std::string_view body = Trim(text);
    if (!body.empty() && body.front() == '[') {
        // A section; the closing bracket is optional and anything after it is ignored.
        std::size_t i = 1;
        while (i < body.size() && body[i] != ']') i += CharLen(body, i);
        parsed.kind = LineKind::Section;
        parsed.name = Trim(body.substr(1, std::min(i, body.size()) - 1));
        return parsed;
    }
    // '=' is never a GBK trail byte, so a plain search finds the first real one.
    std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) return parsed;
    parsed.name = Trim(text.substr(0, eq));
    parsed.value = Trim(text.substr(eq + 1));
    parsed.equalsAt = eq;
    parsed.kind = (!parsed.name.empty() && parsed.name.front() == ';') ? LineKind::Comment : LineKind::Key;
    return parsed;
}

// Where a section and a key stand in the text.
struct Location {
    bool sectionFound = false;
    std::size_t insertAt = 0;       // just after the section's last key line (or its header line)
    bool insertNeedsBreak = false;  // that line ends the text without a line break
    bool keyFound = false;
    Line keyLine;
    ParsedLine key;
};

Location Locate(std::string_view content, std::string_view section, std::string_view key) {
    Location loc;
    bool inSection = false;
    for (std::size_t pos = 0; pos < content.size();) {
        Line line = LineAt(content, pos);
        pos = line.next;
        ParsedLine parsed = ParseLine(content.substr(line.begin, line.end - line.begin));
        if (parsed.kind == LineKind::Section) {
            if (inSection) break;  // the first matching section is the only one used
            if (NamesEqual(parsed.name, section)) {
                inSection = loc.sectionFound = true;
                loc.insertAt = line.next;
                loc.insertNeedsBreak = line.end == line.next;
            }
            continue;
        }
        if (!inSection || parsed.kind != LineKind::Key) continue;
        loc.insertAt = line.next;
        loc.insertNeedsBreak = line.end == line.next;
        if (NamesEqual(parsed.name, key)) {
            loc.keyFound = true;
            loc.keyLine = line;
            loc.key = parsed;
            break;
        }
    }
    return loc;
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

AnsiString CutToBuffer(std::string_view text, std::size_t bufferSize) {
    if (bufferSize == 0) return AnsiString();
    // Callers of the profile functions get a C string, so a NUL byte ends the text.
    text = text.substr(0, text.find('\0'));
    return AnsiString(text.substr(0, std::min(text.size(), bufferSize - 1)));
}

}  // namespace

AnsiString ProfileReadText(std::string_view content, const AnsiString& section, const AnsiString& key,
                           const AnsiString& defaultValue, std::size_t bufferSize) {
    Location loc = Locate(content, Trim(section), Trim(key));
    if (loc.keyFound) return CutToBuffer(StripQuotes(loc.key.value), bufferSize);
    std::string_view def = defaultValue;
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return CutToBuffer(def, bufferSize);
}

std::string ProfileWriteText(std::string_view content, const AnsiString& section, const AnsiString& key,
                             const AnsiString& value) {
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = Trim(key);
    Location loc = Locate(content, sectionName, keyName);
    std::string out;
    out.reserve(content.size() + sectionName.size() + keyName.size() + value.size() + 8);

    if (loc.keyFound) {
        // Keep the line up to and including its '=' (the key's place and spelling); replace the value.
        std::size_t valueAt = loc.keyLine.begin + loc.key.equalsAt + 1;
        out.append(content.substr(0, valueAt));
        out.append(value);
        out.append(content.substr(loc.keyLine.end));
        return out;
    }

    std::string keyLine;
    keyLine.append(keyName).append("=").append(value).append("\r\n");
    if (loc.sectionFound) {
        out.append(content.substr(0, loc.insertAt));
        if (loc.insertNeedsBreak) out.append("\r\n");
        out.append(keyLine);
        out.append(content.substr(loc.insertAt));
        return out;
    }

    out.append(content);
    if (!content.empty() && content.back() != '\n' && content.back() != '\r') out.append("\r\n");
    out.append("[").append(sectionName).append("]\r\n");
    out.append(keyLine);
    return out;
}

}  // namespace plat
