#pragma once
// Renders the configuration object and a reminder entry as field name -> text, so tests can compare
// whole objects against a table: Booleans "1"/"0", integers in decimal, texts as their GBK bytes,
// times "HH:MM:SS" (".mmm" added when there are milliseconds). A time is rendered that way only when
// it is the exact double EncodeTime gives for those parts; anything else shows up as "inexact:<value>".
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "settings/uControlObj.h"
#include "settings/uSysUtils.h"
#include "settings/uTimerInfo.h"

inline std::string TimeText(TDateTime value) {
    const long long total = std::llround(value * 86400000.0);
    char text[64];
    if (total >= 0 && total < 86400000LL) {
        const int h = static_cast<int>(total / 3600000), m = static_cast<int>(total / 60000 % 60),
                  s = static_cast<int>(total / 1000 % 60), ms = static_cast<int>(total % 1000);
        if (SysUtils::EncodeTime(h, m, s, ms) == value) {
            if (ms == 0)
                std::snprintf(text, sizeof text, "%02d:%02d:%02d", h, m, s);
            else
                std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", h, m, s, ms);
            return text;
        }
    }
    std::snprintf(text, sizeof text, "inexact:%.17g", value);
    return text;
}

inline std::string BoolText(bool value) {
    return value ? "1" : "0";
}

inline std::map<std::string, std::string> ControlFields(const TControl& c) {
    const TXHBX& x = c.XHBX;
    return {
        {"startXHBJ", BoolText(x.startXHBJ)},
        {"startXHBJFlash", BoolText(x.startXHBJFlash)},
        {"XHBXFlashSetByUser", x.XHBXFlashSetByUser},
        {"XHBXFlashWord", x.XHBXFlashWord},
        {"flashLonger", std::to_string(x.flashLonger)},
        {"xhzq", std::to_string(x.xhzq)},
        {"startDSBJ", BoolText(x.startDSBJ)},
        {"OnTime", TimeText(x.OnTime)},
        {"OnTimeTxnr", x.OnTimeTxnr},
        {"startDSBJ2", BoolText(x.startDSBJ2)},
        {"OnTime2", TimeText(x.OnTime2)},
        {"OnTimeTxnr2", x.OnTimeTxnr2},
        {"startDSBJ3", BoolText(x.startDSBJ3)},
        {"OnTime3", TimeText(x.OnTime3)},
        {"OnTimeTxnr3", x.OnTimeTxnr3},
        {"txnr", x.txnr},
        {"FirstStart", BoolText(c.FirstStart)},
        {"BJTP", c.BJTP},
    };
}

inline std::map<std::string, std::string> TimerInfoFields(const RTimerInfo& r) {
    return {
        {"Number", std::to_string(r.Number)},
        {"WarnEnable", BoolText(r.WarnEnable)},
        {"WarnType", std::to_string(r.WarnType)},
        {"WarnTime", TimeText(r.WarnTime)},
        {"WarnMinute", std::to_string(r.WarnMinute)},
        {"WarnEnable2", BoolText(r.WarnEnable2)},
        {"WarnInfo", r.WarnInfo},
        {"WarnProgramEnable", BoolText(r.WarnProgramEnable)},
        {"WarnProgram", r.WarnProgram},
        {"WeekMon", BoolText(r.WeekMon)},
        {"WeekTues", BoolText(r.WeekTues)},
        {"WeekWed", BoolText(r.WeekWed)},
        {"WeekThur", BoolText(r.WeekThur)},
        {"WeekFri", BoolText(r.WeekFri)},
        {"WeekSat", BoolText(r.WeekSat)},
        {"WeekSun", BoolText(r.WeekSun)},
    };
}
