// The user's locale facts for time and number text, read with a locale object of its own so the
// process locale (and with it every printf and strtod in the program) stays "C".
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <string>
#include <string_view>

#include "platform/Gbk.h"
#include "platform/Locale.h"

namespace plat {
namespace {

bool IsAsciiPunct(unsigned char c) {
    return c > 0x20 && c < 0x7F &&
           !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
}

// The character that follows the hour field of a strftime time format; ':' when there is none or
// when it is not a single ASCII mark (a time separator is one byte).
char TimeSeparatorOf(std::string_view fmt) {
    for (std::size_t i = 0; i + 1 < fmt.size(); ++i) {
        if (fmt[i] != '%') continue;
        std::size_t j = i + 1;
        while (j < fmt.size() && fmt[j] != '\0' && std::strchr("_-0^#EO", fmt[j]))
            ++j;  // flags and modifiers
        if (j >= fmt.size()) break;
        char conv = fmt[j];
        if (conv == 'T' || conv == 'R') return ':';
        if (conv == 'H' || conv == 'I' || conv == 'k' || conv == 'l') {
            if (j + 1 < fmt.size() && IsAsciiPunct(static_cast<unsigned char>(fmt[j + 1])) &&
                fmt[j + 1] != '%')
                return fmt[j + 1];
            return ':';
        }
        i = j;  // skip this conversion (also "%%")
    }
    return ':';
}

// A day-half marker in the locale's character set, as GBK; the fallback when the locale has none.
AnsiString MarkerToGbk(const char* text, const char* codeset, const char* fallback) {
    if (!text || !*text) return fallback;
    std::string utf8;
    if (!codeset || std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "ANSI_X3.4-1968") == 0) {
        utf8 = text;
    } else {
        iconv_t cd = ::iconv_open("UTF-8", codeset);
        if (cd == reinterpret_cast<iconv_t>(-1)) return fallback;
        std::string in(text);
        char* src = in.data();
        std::size_t srcLeft = in.size();
        std::string out(in.size() * 4 + 16, '\0');
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        std::size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        ::iconv_close(cd);
        if (r == static_cast<std::size_t>(-1)) return fallback;
        out.resize(out.size() - dstLeft);
        utf8 = out;
    }
    AnsiString gbk = Utf8ToGbk(utf8);
    return gbk.empty() ? AnsiString(fallback) : gbk;
}

}  // namespace

FormatSettings SystemFormatSettings() {
    FormatSettings fs;
    locale_t loc = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) return fs;  // the user's locale is not installed: defaults

    fs.TimeSeparator = TimeSeparatorOf(::nl_langinfo_l(T_FMT, loc));
    const char* radix = ::nl_langinfo_l(RADIXCHAR, loc);
    unsigned char r = radix ? static_cast<unsigned char>(radix[0]) : 0;
    fs.DecimalSeparator = (r > 0x20 && r < 0x7F) ? static_cast<char>(r) : '.';
    const char* codeset = ::nl_langinfo_l(CODESET, loc);
    fs.TimeAMString = MarkerToGbk(::nl_langinfo_l(AM_STR, loc), codeset, "AM");
    fs.TimePMString = MarkerToGbk(::nl_langinfo_l(PM_STR, loc), codeset, "PM");
    const std::string sep(1, fs.TimeSeparator);
    fs.LongTimeFormat = "hh" + sep + "mm" + sep + "ss";
    ::freelocale(loc);
    return fs;
}

}  // namespace plat
