// Text <-> number and date-time conversions. Every parser here reads its text completely and by hand
// (no C library locale is involved), so the result depends only on the FormatSettings passed in.
#include "settings/uSysUtils.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "platform/AnsiBytes.h"
#include "platform/Errors.h"

namespace SysUtils {

namespace {

constexpr double kMsPerDay = 86400000.0;
constexpr long long kMsPerDayInt = 86400000;
// Days from 1899-12-30 (day 0 of TDateTime) to 1970-01-01 (day 0 of std::chrono::sys_days).
constexpr long long kUnixEpochDay = 25569;
// Day numbers of 0001-01-01 and 9999-12-31, the range of dates the program can show.
constexpr long long kFirstDay = -693593;
constexpr long long kLastDay = 2958465;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

using plat::IsGbkLeadByte;
constexpr char AsciiUpper(char c) {
    return plat::UpperAscii(c);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Splits a date-time into its whole day and the milliseconds of its time of day. The time is rounded
// to the nearest millisecond but kept inside the day, so it never reads as 24:00 or as a 60th second.
// Before day 0 the fraction counts forward from the day as well (-1.25 is 1899-12-29 06:00).
void SplitDateTime(TDateTime value, long long& day, long long& msOfDay) {
    if (!std::isfinite(value) || value < kFirstDay - 1 || value > kLastDay + 1) {
        day = 0;
        msOfDay = 0;
        return;
    }
    const double whole = std::trunc(value);
    day = static_cast<long long>(whole);
    msOfDay = std::llround(std::fabs(value - whole) * kMsPerDay);
    if (msOfDay >= kMsPerDayInt) msOfDay = kMsPerDayInt - 1;
}

EConvertError InvalidTime(const AnsiString& text) {
    return EConvertError("'" + text + "' is not a valid time");
}

// ---- time-of-day text ----

// Reads time text left to right; every Scan* step skips the blanks in front of its part.
class TimeScanner {
public:
    TimeScanner(std::string_view text, const plat::FormatSettings& fs) : text_(text), fs_(fs) {}

    bool AtEnd() {
        SkipBlanks();
        return pos_ == text_.size();
    }

    bool ScanChar(char c) {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // Decimal digits; a number too long to be a valid part of a time is refused.
    bool ScanNumber(int& value) {
        SkipBlanks();
        const size_t start = pos_;
        long long v = 0;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) {
            if (pos_ - start >= 9) return false;
            v = v * 10 + (text_[pos_] - '0');
            ++pos_;
        }
        if (pos_ == start) return false;
        value = static_cast<int>(v);
        return true;
    }

    // Day-half marker: 0 none, 1 morning, 2 afternoon. The locale's own markers are tried before
    // the English ones.
    int ScanMarker() {
        SkipBlanks();
        if (ScanWord(fs_.TimeAMString)) return 1;
        if (ScanWord(fs_.TimePMString)) return 2;
        if (ScanWord("AM")) return 1;
        if (ScanWord("PM")) return 2;
        return 0;
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }

    // Compares ASCII letters without regard to case; the two bytes of a GBK character are compared
    // exactly, since a trail byte that happens to be a letter is not a letter.
    bool ScanWord(std::string_view word) {
        if (word.empty() || text_.size() - pos_ < word.size()) return false;
        for (size_t i = 0; i < word.size(); ++i) {
            const char w = word[i];
            const char t = text_[pos_ + i];
            if (IsGbkLeadByte(w) && i + 1 < word.size()) {
                if (t != w || text_[pos_ + i + 1] != word[i + 1]) return false;
                ++i;
            } else if (AsciiUpper(t) != AsciiUpper(w)) {
                return false;
            }
        }
        pos_ += word.size();
        return true;
    }

    std::string_view text_;
    const plat::FormatSettings& fs_;
    size_t pos_ = 0;
};

// ---- general float format ----

// The shortest text of at most 15 significant digits: fixed notation for decimal exponents -5..14,
// otherwise mantissa, "E" and the exponent without '+' or leading zeros.
AnsiString GeneralFloat(double value, char decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // "d.dddddddddddddde±x": 15 significant digits, correctly rounded, independent of the locale.
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific, 14);
    const std::string_view sci(buf.data(), static_cast<size_t>(res.ptr - buf.data()));
    const size_t ePos = sci.find('e');
    const bool negative = sci[0] == '-';
    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (IsDigit(c)) digits += c;
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    std::string_view expText = sci.substr(ePos + 1);
    if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

    AnsiString out = negative ? "-" : "";
    const int n = static_cast<int>(digits.size());
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (n > 1) {
            out += decimalSeparator;
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
    } else if (n <= exponent + 1) {
        out += digits;
        out.append(static_cast<size_t>(exponent + 1 - n), '0');
    } else {
        const size_t whole = static_cast<size_t>(exponent) + 1;  // digits before the separator
        out.append(digits, 0, whole);
        out += decimalSeparator;
        out.append(digits, whole, std::string::npos);
    }
    return out;
}

// ---- date-time format ----

void AppendNumber(AnsiString& out, long long value, int minDigits) {
    const std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < minDigits) out.append(minDigits - digits.size(), '0');
    out += digits;
}

}  // namespace

AnsiString Trim(const AnsiString& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
    return text.substr(first, last - first);
}

bool TryStrToInt(const AnsiString& text, int32_t& value) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == n) return false;
    // The magnitude may reach 2^31 only for a negative value.
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    long long magnitude = 0;
    for (; i < n; ++i) {
        const int digit = base == 16 ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
        if (digit < 0) return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return false;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

int32_t StrToInt(const AnsiString& text) {
    int32_t value = 0;
    if (!TryStrToInt(text, value)) throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

AnsiString IntToStr(int64_t value) {
    return std::to_string(value);
}

double StrToFloat(const AnsiString& text, const plat::FormatSettings& fs) {
    // Checks the shape by hand, then hands a '.'-separated copy to from_chars, which rounds to the
    // nearest double whatever the C library's locale is.
    const auto invalid = [&] { return EConvertError("'" + text + "' is not a valid floating point value"); };
    size_t i = 0;
    size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    while (n > i && text[n - 1] == ' ') --n;
    std::string normal;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') normal += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && IsDigit(text[i])) {
        normal += text[i++];
        ++mantissaDigits;
    }
    if (i < n && text[i] == fs.DecimalSeparator) {
        normal += '.';
        ++i;
        while (i < n && IsDigit(text[i])) {
            normal += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) throw invalid();
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        normal += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) normal += text[i++];
        int exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            normal += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) throw invalid();
    }
    if (i != n) throw invalid();
    double value = 0;
    const auto res = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (res.ec != std::errc() || res.ptr != normal.data() + normal.size()) throw invalid();
    return value;
}

AnsiString FloatToStr(double value, const plat::FormatSettings& fs) {
    return GeneralFloat(value, fs.DecimalSeparator);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    // One integer count of milliseconds and one division: the same time always gives the same bits.
    const long long ms = hour * 3600000LL + minute * 60000LL + second * 1000LL + millisecond;
    return static_cast<double>(ms) / kMsPerDay;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
    using namespace std::chrono;
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    if (!ymd.ok()) return false;
    value = static_cast<double>(sys_days{ymd}.time_since_epoch().count() + kUnixEpochDay);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime value = 0;
    if (!TryEncodeDate(year, month, day, value)) throw EConvertError("Invalid argument to date encode");
    return value;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    using namespace std::chrono;
    long long dayNumber = 0;
    long long msOfDay = 0;
    SplitDateTime(value, dayNumber, msOfDay);
    if (dayNumber < kFirstDay || dayNumber > kLastDay) {
        year = month = day = 0;
        return;
    }
    const year_month_day ymd{sys_days{days{dayNumber - kUnixEpochDay}}};
    year = static_cast<int>(ymd.year());
    month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    day = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
    long long dayNumber = 0;
    long long ms = 0;
    SplitDateTime(value, dayNumber, ms);
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime value) {
    long long dayNumber = 0;
    long long ms = 0;
    SplitDateTime(value, dayNumber, ms);
    // Day 0, 1899-12-30, was a Saturday.
    return static_cast<int>(((dayNumber + 6) % 7 + 7) % 7);
}

TDateTime SystemTimeToDateTime(const plat::SystemTime& st) {
    const TDateTime date = EncodeDate(st.Year, st.Month, st.Day);
    const TDateTime time = EncodeTime(st.Hour, st.Minute, st.Second, st.Milliseconds);
    return date < 0 ? date - time : date + time;
}

plat::SystemTime DateTimeToSystemTime(TDateTime value) {
    plat::SystemTime st;
    DecodeDate(value, st.Year, st.Month, st.Day);
    DecodeTime(value, st.Hour, st.Minute, st.Second, st.Milliseconds);
    st.DayOfWeek = DayOfWeek(value);
    return st;
}

TDateTime Now() {
    return SystemTimeToDateTime(plat::CurrentClock().Now());
}

bool TryStrToTime(const AnsiString& text, TDateTime& value, const plat::FormatSettings& fs) {
    TimeScanner scan(text, fs);
    const int leadingMarker = scan.ScanMarker();
    int hour = 0;
    int minute = 0;
    int second = 0;
    int ms = 0;
    // The locale's separator, and a colon as well: the built-in defaults and files written under
    // another locale use colons, and a settings file must not stop loading when the locale changes.
    const auto separator = [&] { return scan.ScanChar(fs.TimeSeparator) || scan.ScanChar(':'); };
    if (!scan.ScanNumber(hour)) return false;
    if (separator()) {
        if (!scan.ScanNumber(minute)) return false;
        if (separator()) {
            if (!scan.ScanNumber(second)) return false;
            if (scan.ScanChar(fs.DecimalSeparator) && !scan.ScanNumber(ms)) return false;
        }
    }
    const int marker = leadingMarker != 0 ? leadingMarker : scan.ScanMarker();
    if (!scan.AtEnd()) return false;
    if (marker != 0) {
        if (hour < 1 || hour > 12) return false;
        if (hour == 12) hour = 0;
        if (marker == 2) hour += 12;
    }
    if (hour >= 24 || minute >= 60 || second >= 60 || ms >= 1000) return false;
    value = EncodeTime(hour, minute, second, ms);
    return true;
}

TDateTime StrToTime(const AnsiString& text, const plat::FormatSettings& fs) {
    TDateTime value = 0;
    if (!TryStrToTime(text, value, fs)) throw InvalidTime(text);
    return value;
}

TDateTime StrToIsoDate(const AnsiString& text) {
    const auto invalid = [&] { return EConvertError("'" + text + "' is not a valid date"); };
    // Exactly "YYYY-MM-DD".
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') throw invalid();
    int parts[3] = {0, 0, 0};
    const std::pair<size_t, size_t> spans[3] = {{0, 4}, {5, 2}, {8, 2}};
    for (int k = 0; k < 3; ++k) {
        for (size_t j = spans[k].first; j < spans[k].first + spans[k].second; ++j) {
            if (!IsDigit(text[j])) throw invalid();
            parts[k] = parts[k] * 10 + (text[j] - '0');
        }
    }
    TDateTime value = 0;
    if (!TryEncodeDate(parts[0], parts[1], parts[2], value)) throw invalid();
    return value;
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime value, const plat::FormatSettings& fs) {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int ms = 0;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, ms);

    AnsiString out;
    // The last letter field written; an M field right after an hour field is minutes. Characters
    // that are not letters (separators, quoted text, Chinese characters) leave it as it is.
    char lastField = 0;
    const size_t n = format.size();
    size_t i = 0;
    while (i < n) {
        const char c = format[i];
        if (IsGbkLeadByte(c) && i + 1 < n) {
            out.append(format, i, 2);
            i += 2;
            continue;
        }
        if (c == '"') {
            const size_t close = format.find('"', i + 1);
            const size_t end = close == std::string::npos ? n : close;
            out.append(format, i + 1, end - i - 1);
            i = close == std::string::npos ? n : close + 1;
            continue;
        }
        if (c == ':') {
            out += fs.TimeSeparator;
            ++i;
            continue;
        }
        char field = AsciiUpper(c);
        if (field < 'A' || field > 'Z') {
            out += c;
            ++i;
            continue;
        }
        // Length of the run of the same letter, at most 4 for years and 2 for the other fields.
        const size_t maxRun = field == 'Y' ? 4 : 2;
        size_t run = 1;
        while (run < maxRun && i + run < n && AsciiUpper(format[i + run]) == field) ++run;
        if (field == 'M' && lastField == 'H') field = 'N';
        switch (field) {
            case 'Y':
                if (run <= 2) {
                    AppendNumber(out, year % 100, 2);
                } else {
                    AppendNumber(out, year, 4);
                }
                break;
            case 'M':
                AppendNumber(out, month, static_cast<int>(run));
                break;
            case 'D':
                AppendNumber(out, day, static_cast<int>(run));
                break;
            case 'H':
                AppendNumber(out, hour, static_cast<int>(run));
                break;
            case 'N':
                AppendNumber(out, minute, static_cast<int>(run));
                break;
            case 'S':
                AppendNumber(out, second, static_cast<int>(run));
                break;
            default:
                out.append(format, i, run);
                break;
        }
        lastField = field;
        i += run;
    }
    return out;
}

}  // namespace SysUtils
