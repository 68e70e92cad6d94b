#pragma once
// Settings files built from the settings table, one value for every key, written as the settings
// dialog writes them: a dialog that loads one and is closed untouched must write the same bytes.
#include <string>
#include <vector>

#include "platform/Gbk.h"
#include "settings/uControlObj.h"

namespace settingsfiles {

// Every row gets a value of its own (the key in texts, the row's place in times and ticks), so two
// rows that shared a control, or a control read back for another row, would change the bytes.
// Variants: 0 typical values; 1 the edges (an untouched period outside the box's range, texts of the
// most a value keeps, ending on a whole Chinese character, the last minute of the day); 2 empty texts,
// midnight, the largest period and animation length.
inline std::string File(int variant) {
    std::string longText = "a";
    for (int i = 0; i < 1023; ++i) longText += "\xb9\xfa";  // 国, 2047 bytes in all
    std::string out;
    std::string section;
    int row = 0;
    for (const TSetting& s : SettingsTable()) {
        if (section != s.Section) {
            section = s.Section;
            out += "[" + section + "]\r\n";
        }
        std::string value;
        switch (s.Text) {
            case TSettingText::Flag:
                value = (row + variant) % 2 ? "1" : "0";
                break;
            case TSettingText::Minutes:
                value = variant == 0 ? "45" : variant == 1 ? "0" : "35791394";
                break;
            case TSettingText::Number:
                value = variant == 0 ? "30" : variant == 1 ? "0" : "45";
                break;
            case TSettingText::TimeOfDay: {
                const int hour = variant == 0 ? row : variant == 1 ? 23 : 0;
                const int minute = variant == 0 ? 5 + row : variant == 1 ? 59 : 0;
                value = (hour < 10 ? "0" : "") + std::to_string(hour) + ":" + (minute < 10 ? "0" : "") +
                        std::to_string(minute) + ":00";
                break;
            }
            case TSettingText::Line:
            case TSettingText::TrimmedLine:
                value = variant == 0 ? plat::Utf8ToGbk("提醒 ") + s.Key : variant == 1 ? longText : "";
                break;
            case TSettingText::Mark:
                value = "1";
                break;
        }
        out += std::string(s.Key) + "=" + value + "\r\n";
        ++row;
    }
    return out;
}

inline constexpr int Variants = 3;

}  // namespace settingsfiles
