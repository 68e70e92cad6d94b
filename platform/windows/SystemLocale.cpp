// The user's locale facts for time and number text, read from the system's locale information.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Locale.h"
#include "platform/windows/WinLocale.h"

namespace plat::win {
namespace {

constexpr UINT kGbkCodePage = 936;

// One locale text as UTF-16; empty when the locale does not have it.
std::wstring LocaleText(LCID lcid, LCTYPE type) {
    wchar_t buf[128] = {};
    int n = ::GetLocaleInfoW(lcid, type, buf, static_cast<int>(std::size(buf)));
    return n > 1 ? std::wstring(buf, static_cast<std::size_t>(n - 1)) : std::wstring();
}

// A locale text in GBK; the fallback when it is empty or has a character GBK lacks.
AnsiString LocaleTextGbk(LCID lcid, LCTYPE type, const char* fallback) {
    const std::wstring text = LocaleText(lcid, type);
    if (text.empty()) return fallback;
    char buf[256];
    BOOL usedDefault = FALSE;
    int n = ::WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, text.data(),
                                  static_cast<int>(text.size()), buf, sizeof buf, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return fallback;
    return AnsiString(buf, static_cast<std::size_t>(n));
}

bool IsAsciiPunct(wchar_t c) {
    return c > 0x20 && c < 0x7F &&
           !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
}

// A one-character separator of the locale; the fallback when it is not a single ASCII mark.
char SeparatorOf(LCID lcid, LCTYPE type, char fallback) {
    const std::wstring text = LocaleText(lcid, type);
    return text.size() == 1 && IsAsciiPunct(text[0]) ? static_cast<char>(text[0]) : fallback;
}

}  // namespace

AnsiString TimeFormatFromWindows(std::string_view fmt) {
    AnsiString out;
    bool hasHour = false;
    for (std::size_t i = 0; i < fmt.size();) {
        const char c = fmt[i];
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x81 && u <= 0xFE && i + 1 < fmt.size()) {
            out.append(fmt.substr(i, 2));  // a double-byte character: its trail byte is no field letter
            i += 2;
            continue;
        }
        if (c == '\'') {
            const std::size_t close = fmt.find('\'', i + 1);
            const std::size_t end = close == std::string_view::npos ? fmt.size() : close;
            out.append("\"").append(fmt.substr(i + 1, end - i - 1)).append("\"");
            i = close == std::string_view::npos ? fmt.size() : close + 1;
            continue;
        }
        if (c == 't') {
            // The marker field, with the blanks on either side of it.
            while (!out.empty() && out.back() == ' ') out.pop_back();
            while (i < fmt.size() && (fmt[i] == 't' || fmt[i] == ' ')) ++i;
            continue;
        }
        if (c == 'h' || c == 'H') hasHour = true;
        out.push_back(c);
        ++i;
    }
    return hasHour ? out : AnsiString();
}

FormatSettings FormatSettingsOfLocale(unsigned long lcid) {
    FormatSettings fs;
    fs.TimeSeparator = SeparatorOf(lcid, LOCALE_STIME, ':');
    fs.DecimalSeparator = SeparatorOf(lcid, LOCALE_SDECIMAL, '.');
    fs.TimeAMString = LocaleTextGbk(lcid, LOCALE_S1159, "AM");
    fs.TimePMString = LocaleTextGbk(lcid, LOCALE_S2359, "PM");
    const AnsiString sep(1, fs.TimeSeparator);
    AnsiString longTime = TimeFormatFromWindows(LocaleTextGbk(lcid, LOCALE_STIMEFORMAT, ""));
    fs.LongTimeFormat = longTime.empty() ? "hh" + sep + "mm" + sep + "ss" : longTime;
    return fs;
}

}  // namespace plat::win

namespace plat {

FormatSettings SystemFormatSettings() {
    return win::FormatSettingsOfLocale(LOCALE_USER_DEFAULT);
}

}  // namespace plat
