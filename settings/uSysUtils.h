#pragma once
// Conversions between text and numbers, times and dates that the whole program shares. They are
// strict: malformed text raises EConvertError with the message the user sees.
#include <cstdint>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/Types.h"

namespace SysUtils {

// Removes leading and trailing bytes of code 32 or less.
AnsiString Trim(const AnsiString& text);

// Strict integer text: leading blanks, optional sign, decimal digits or hexadecimal after "$", "x"
// or "0x" (either case of x), nothing after, within 32 bits. Empty text is malformed.
bool TryStrToInt(const AnsiString& text, int32_t& value);
// As TryStrToInt; raises EConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(const AnsiString& text);
AnsiString IntToStr(int64_t value);

// Floating-point text with the locale's decimal separator: blanks around, sign, digits, fraction,
// exponent. Raises EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(const AnsiString& text, const plat::FormatSettings& fs = plat::CurrentFormatSettings());
// General format: at most 15 significant digits, no trailing zeros, the locale's decimal separator;
// scientific notation only for very large or very small magnitudes.
AnsiString FloatToStr(double value, const plat::FormatSettings& fs = plat::CurrentFormatSettings());

// (h*3600000 + m*60000 + s*1000 + ms) / 86400000: equal hours and minutes always give the same double.
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
// Whole days since 1899-12-30 for a valid date; raises EConvertError otherwise.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// 0 = Sunday.
int DayOfWeek(TDateTime value);
TDateTime SystemTimeToDateTime(const plat::SystemTime& st);
plat::SystemTime DateTimeToSystemTime(TDateTime value);

// The current local date and time (with milliseconds), from the clock in use.
TDateTime Now();

// Strict time-of-day text: optional day-half marker (locale's or AM/PM) before or after, hours,
// optional separator + minutes, separator + seconds, decimal separator + milliseconds, blanks
// before each part and at the end. "7" is 07:00. Raises EConvertError "'<text>' is not a valid time".
TDateTime StrToTime(const AnsiString& text, const plat::FormatSettings& fs = plat::CurrentFormatSettings());
bool TryStrToTime(const AnsiString& text, TDateTime& value,
                  const plat::FormatSettings& fs = plat::CurrentFormatSettings());

// "YYYY-MM-DD" back to the date at 00:00. Raises EConvertError "'<text>' is not a valid date".
TDateTime StrToIsoDate(const AnsiString& text);

// Formats a date-time. Letters are case-insensitive: YYYY year, MM month (minutes right after an
// hour field), DD day, HH/hh 24-hour hour, SS second, ':' the locale's time separator; everything
// else, double-byte GBK characters included, is copied.
AnsiString FormatDateTime(const AnsiString& format, TDateTime value,
                          const plat::FormatSettings& fs = plat::CurrentFormatSettings());

}  // namespace SysUtils
