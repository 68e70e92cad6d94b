// Fuzz target: the strict integer, number and time conversions and the date-time format, on
// arbitrary text. The first byte picks the locale facts (colon or dot as time separator, dot or comma
// as decimal separator, English or Chinese day-half markers); the whole input is the text.
//
// Properties:
// - Every conversion either succeeds or raises EConvertError with its exact message (cut at a NUL
//   byte, since the message is a C string); the Try form agrees with the raising form.
// - Integers: IntToStr of a converted value converts back to the same value.
// - Numbers: a converted value is finite, and FloatToStr -> StrToFloat -> FloatToStr is stable (15
//   significant digits survive a trip through a double).
// - Times: a converted value lies in [0, 1) and is bit for bit EncodeTime of its own parts, and its
//   "hh:mm" text converts to exactly EncodeTime(h, m, 0, 0), the value the scheduler compares against.
// - FormatDateTime never writes more than two bytes per format byte (plus the year's four digits),
//   whatever the date-time value (NaN, infinities and huge values included); "YYYY-MM-DD" of a day
//   within years 1..9999 converts back to that whole day.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "settings/uSysUtils.h"

namespace {

using namespace SysUtils;

plat::FormatSettings LocaleFor(unsigned char pick) {
    plat::FormatSettings fs;
    if (pick & 1) fs.TimeSeparator = '.';
    if (pick & 2) fs.DecimalSeparator = ',';
    if (pick & 4) {
        fs.TimeAMString = "\xc9\xcf\xce\xe7";  // 上午 in GBK
        fs.TimePMString = "\xcf\xc2\xce\xe7";  // 下午 in GBK
    }
    return fs;
}

// The message an error carries: its text is a C string, so it ends at the first NUL byte. Text from
// the settings file never holds one (the reader cuts there).
std::string MessageFor(const AnsiString& text, const char* what) {
    const std::string full = "'" + text + "' " + what;
    return full.substr(0, full.find('\0'));
}

void CheckInteger(const AnsiString& text) {
    int32_t value = 0;
    const bool ok = TryStrToInt(text, value);
    try {
        FUZZ_CHECK(StrToInt(text) == value && ok);
    } catch (const EConvertError& e) {
        FUZZ_CHECK(!ok);
        FUZZ_CHECK(e.Message() == MessageFor(text, "is not a valid integer value"));
        return;
    }
    int32_t back = 0;
    FUZZ_CHECK(TryStrToInt(IntToStr(value), back) && back == value);
}

void CheckFloat(const AnsiString& text, const plat::FormatSettings& fs) {
    double value = 0;
    try {
        value = StrToFloat(text, fs);
    } catch (const EConvertError& e) {
        FUZZ_CHECK(e.Message() == MessageFor(text, "is not a valid floating point value"));
        return;
    }
    FUZZ_CHECK(std::isfinite(value));
    const AnsiString once = FloatToStr(value, fs);
    FUZZ_CHECK(FloatToStr(StrToFloat(once, fs), fs) == once);
}

void CheckTime(const AnsiString& text, const plat::FormatSettings& fs) {
    TDateTime tried = -1;
    const bool ok = TryStrToTime(text, tried, fs);
    TDateTime value = 0;
    try {
        value = StrToTime(text, fs);
    } catch (const EConvertError& e) {
        FUZZ_CHECK(!ok);
        FUZZ_CHECK(e.Message() == MessageFor(text, "is not a valid time"));
        return;
    }
    FUZZ_CHECK(ok && tried == value);
    FUZZ_CHECK(value >= 0 && value < 1);
    int h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(value, h, m, s, ms);
    FUZZ_CHECK(EncodeTime(h, m, s, ms) == value);
    FUZZ_CHECK(StrToTime(FormatDateTime("hh:mm", value, fs), fs) == EncodeTime(h, m, 0, 0));
    FUZZ_CHECK(StrToTime(FormatDateTime("hh:mm:ss", value, fs), fs) == EncodeTime(h, m, s, 0));
}

void CheckFormat(const AnsiString& format, TDateTime value, const plat::FormatSettings& fs) {
    const AnsiString out = FormatDateTime(format, value, fs);
    FUZZ_CHECK(out.size() <= 2 * format.size() + 4);
    // Day numbers of 0001-01-01 and 9999-12-31.
    if (std::isfinite(value) && value >= -693593 && value < 2958466) {
        FUZZ_CHECK(StrToIsoDate(FormatDateTime("YYYY-MM-DD", value, fs)) == std::trunc(value));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const AnsiString text(reinterpret_cast<const char*>(data), size);
    const plat::FormatSettings fs = LocaleFor(size > 0 ? data[0] : 0);

    CheckInteger(text);
    CheckFloat(text, fs);
    CheckTime(text, fs);

    // The first eight bytes as a raw double (any bit pattern), and as a day count with a time of day
    // within the usual range; the rest as the format.
    if (size >= 8) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        int32_t scaled = 0;
        std::memcpy(&scaled, data, sizeof scaled);
        const AnsiString format = text.substr(8);
        CheckFormat(format, raw, fs);
        CheckFormat(format, scaled / 1000.0, fs);
    } else {
        CheckFormat(text, 45000.5, fs);
    }
    return 0;
}
