#pragma once
// The locale facts that time and number text depend on. Read from the system once; tests replace them.
#include "platform/Types.h"

namespace plat {

struct FormatSettings {
    char TimeSeparator = ':';
    char DecimalSeparator = '.';
    AnsiString TimeAMString = "AM";  // GBK
    AnsiString TimePMString = "PM";  // GBK
    AnsiString LongTimeFormat = "hh:mm:ss";
};

// The settings in use: read from the user's locale on first use unless a test has set them.
const FormatSettings& CurrentFormatSettings();
// Replaces the settings in use (tests, or a locale change).
void SetFormatSettings(const FormatSettings& settings);
// Reads the settings of the user's locale from the system.
FormatSettings SystemFormatSettings();

}  // namespace plat
