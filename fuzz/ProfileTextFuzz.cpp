// Fuzz target: the INI reader and writer on file text held in memory.
//
// Input layout: section NUL key NUL value NUL second-section NUL second-key NUL file bytes. Missing
// fields are empty; the file bytes are whatever is left.
//
// Properties, with W = ProfileWriteText(file, section, key, value):
// - Reading and writing never crash, whatever the bytes; a read returns at most bufferSize - 1 bytes
//   and is the prefix of the read with a larger buffer.
// - Only one place changes: after the longest common prefix and the longest common suffix of the old
//   and the new text are taken off, what is left of the old text holds no line break. So every line
//   of the old file survives byte for byte except, at most, the one whose value was replaced.
// - The written key reads back as written when the names are plain (see PlainName) and the value holds
//   no CR or LF: reading section/key from W gives the value with blanks (space, tab) trimmed off both
//   ends, then one pair of matching enclosing quotes (' or ") removed, then cut at its first NUL.
// - With plain names and such a value, any other key (one whose section or key differs when ASCII
//   case is ignored) reads the same from W as from the old text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "platform/Profile.h"

namespace {

std::string_view NextField(std::string_view& rest) {
    const std::size_t nul = rest.find('\0');
    if (nul == std::string_view::npos) {
        std::string_view field = rest;
        rest = {};
        return field;
    }
    std::string_view field = rest.substr(0, nul);
    rest.remove_prefix(nul + 1);
    return field;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool IsLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool IsTrail(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// A name that a settings file can hold and find again: printable ASCII and whole GBK double-byte
// characters, without the bytes that would change how its line is read. A section name may not hold
// ']' (it would end the header early); a key name may not hold '=' (it would end the name early) nor
// start with '[' (a section header) or ';' (a comment).
bool PlainName(std::string_view name, bool isSection) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (IsLead(c)) {
            if (i + 1 >= name.size() || !IsTrail(static_cast<unsigned char>(name[i + 1]))) return false;
            ++i;
            continue;
        }
        if (c != '\t' && (c < 0x20 || c > 0x7E)) return false;
        if (isSection ? c == ']' : c == '=') return false;
    }
    if (isSection) return true;
    const std::string_view trimmed = TrimBlanks(name);
    return trimmed.empty() || (trimmed.front() != '[' && trimmed.front() != ';');
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// The value as a reader must return it (see the properties above).
std::string ExpectedReadBack(std::string_view value) {
    std::string_view v = TrimBlanks(value);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v.substr(0, v.find('\0')));
}

void CheckOneChangedRegion(std::string_view before, std::string_view after) {
    const std::size_t common = std::min(before.size(), after.size());
    std::size_t prefix = 0;
    while (prefix < common && before[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < common - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const std::string_view removed = before.substr(prefix, before.size() - prefix - suffix);
    FUZZ_CHECK(removed.find_first_of("\r\n") == std::string_view::npos);
}

void CheckBufferCut(std::string_view text, const std::string& section, const std::string& key,
                    const std::string& def, std::size_t bufferSize) {
    const std::string full = plat::ProfileReadText(text, section, key, def, 1 << 20);
    const std::string cut = plat::ProfileReadText(text, section, key, def, bufferSize);
    FUZZ_CHECK(full.find('\0') == std::string::npos);
    if (bufferSize == 0) {
        FUZZ_CHECK(cut.empty());
    } else {
        FUZZ_CHECK(cut == full.substr(0, bufferSize - 1));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string section(NextField(rest));
    const std::string key(NextField(rest));
    const std::string value(NextField(rest));
    const std::string otherSection(NextField(rest));
    const std::string otherKey(NextField(rest));
    const std::string_view file = rest;

    const std::string written = plat::ProfileWriteText(file, section, key, value);
    CheckOneChangedRegion(file, written);
    // A write never grows the file by more than a line break, a new section header and a key line:
    // "\r\n" "[" section "]\r\n" key "=" value "\r\n".
    FUZZ_CHECK(written.size() <= file.size() + section.size() + key.size() + value.size() + 9);

    // The default stands in for "not found"; it holds a byte no value read back here can hold.
    const std::string missing = "\x01missing";
    // A value with a line break writes extra lines by design, so only single-line values are checked.
    const bool plain =
        PlainName(section, true) && PlainName(key, false) && value.find_first_of("\r\n") == std::string::npos;
    if (plain) {
        FUZZ_CHECK(plat::ProfileReadText(written, section, key, missing, value.size() + 2) ==
                   ExpectedReadBack(value));
    }
    const bool sameKey = SameTextAscii(TrimBlanks(section), TrimBlanks(otherSection)) &&
                         SameTextAscii(TrimBlanks(key), TrimBlanks(otherKey));
    if (plain && !sameKey) {
        FUZZ_CHECK(plat::ProfileReadText(written, otherSection, otherKey, missing) ==
                   plat::ProfileReadText(file, otherSection, otherKey, missing));
    }

    const std::size_t bufferSize = value.empty() ? 0 : static_cast<unsigned char>(value[0]) * 8;
    CheckBufferCut(file, otherSection, otherKey, value, bufferSize);
    CheckBufferCut(written, section, key, otherKey, 2048);
    return 0;
}
