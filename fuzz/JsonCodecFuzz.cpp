// Fuzz target: the one-line text codec and the scheduler's text form, on arbitrary bytes.
//
// Properties:
// - TJSon::JsonToList never throws and keeps only quoted strings, so no line holds a double quote.
// - A list read from any text writes back to a text that reads back to the same lines, as long as no
//   line holds a bracket or brace byte (those move the reader's depths and swallow quotes) and no two
//   lines share a name (a name that held '=' splits into a shorter name that may repeat one).
// - TTimerObj::LoadFromStr fails only with EConvertError (a missing or malformed number). After a
//   successful load, SaveToStr -> LoadFromStr -> SaveToStr gives the same text twice: the numbers
//   settle after one trip through 15 significant digits, provided the two texts hold no bracket or
//   brace byte.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/uTimerObj.h"
#include "fuzz/FuzzCheck.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "settings/uStrList.h"
#include "settings/uToolsObj.h"

namespace {

bool HasDepthByte(const AnsiString& s) {
    return s.find_first_of("[]{}") != AnsiString::npos;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextAscii(const AnsiString& a, const AnsiString& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// Whether writing the list and reading it back must give the same lines.
bool RoundTrips(const TStringList& list) {
    for (int i = 0; i < list.Count(); ++i) {
        if (HasDepthByte(list.Strings(i))) return false;
        for (int j = 0; j < i; ++j)
            if (SameTextAscii(list.Names(i), list.Names(j))) return false;
    }
    return true;
}

void CheckCodec(const AnsiString& text) {
    const std::unique_ptr<TStringList> list = TJSon::JsonToList(text);
    for (const AnsiString& line : list->Lines) {
        FUZZ_CHECK(line.find('"') == AnsiString::npos);
        FUZZ_CHECK(line.find('=') != AnsiString::npos);  // every stored entry is name=value
    }
    const AnsiString written = TJSon::ListToJson(*list);
    FUZZ_CHECK(written.size() >= 2 && written.front() == '{' && written.back() == '}');
    if (RoundTrips(*list)) {
        const std::unique_ptr<TStringList> again = TJSon::JsonToList(written);
        FUZZ_CHECK(again->Lines == list->Lines);
        FUZZ_CHECK(TJSon::ListToJson(*again) == written);
    }
}

void CheckTimerText(const AnsiString& text) {
    TTimerObj timer;
    try {
        timer.LoadFromStr(text);
    } catch (const EConvertError&) {
        return;  // a missing or malformed number: the one failure the text form has
    }
    const AnsiString saved = timer.SaveToStr();
    TTimerObj reloaded;
    reloaded.LoadFromStr(saved);  // must not throw: the numbers were written by FloatToStr
    FUZZ_CHECK(reloaded.ShowWarnForm == timer.ShowWarnForm);
    FUZZ_CHECK(reloaded.PlayWarnSound == timer.PlayWarnSound);
    if (!HasDepthByte(saved)) {
        FUZZ_CHECK(reloaded.WarnForm_Content == timer.WarnForm_Content);
        FUZZ_CHECK(reloaded.WarnSound_File == timer.WarnSound_File);
        FUZZ_CHECK(reloaded.SaveToStr() == saved);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text form does not depend on the user's locale here: a fixed '.' decimal separator.
    plat::SetFormatSettings(plat::FormatSettings{});
    const AnsiString text(reinterpret_cast<const char*>(data), size);
    CheckCodec(text);
    CheckTimerText(text);
    return 0;
}
