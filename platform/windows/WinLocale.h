#pragma once
// The locale facts of one Windows locale, for the user's own locale and for tests that ask for a
// particular one.
#include <string_view>

#include "platform/Locale.h"

namespace plat::win {

// The time and decimal separators, the day-half markers (as GBK) and the long time format of the
// locale with this identifier (an LCID); defaults for whatever the locale does not give.
FormatSettings FormatSettingsOfLocale(unsigned long lcid);

// A Windows time format ("HH:mm:ss", "h:mm:ss tt", "tt hh'h'mm") in the program's format letters: the
// day-half marker fields and the blanks beside them go (the program's formats have none), and quoted
// text keeps its quotes as double quotes. Empty when the result has no hour field.
AnsiString TimeFormatFromWindows(std::string_view windowsFormat);

}  // namespace plat::win
