// TControl: the reminder settings as the settings file holds them, the first-start offer to start at
// login, and the weekday name of the date line.
#include "settings/uControlObj.h"

#include <iterator>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "settings/uStrings.h"
#include "settings/uSysUtils.h"
#include "settings/uToolsObj.h"

TControl* AppControl = nullptr;

namespace {

// Converts one stored text and puts it into its field; raises EConvertError on malformed text.
using Store = void (*)(TControl& c, const AnsiString& text, const plat::FormatSettings& fs);

bool AsBoolean(const AnsiString& text) {
    return text == "1";
}

struct SettingKey {
    const char* Section;
    const char* Key;
    const char* DefaultUtf8;  // converted to GBK before use
    Store Put;
};

// The settings in the order they are read. Each one is stored before the next is read, so a bad
// value leaves the fields before it new and the fields after it as they were.
const SettingKey kSettings[] = {
    {"XHBX", "startXHBJ", "0",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.startXHBJ = AsBoolean(t); }},
    {"XHBX", "xhzq", "120",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) {
         c.XHBX.xhzq = SysUtils::StrToInt(t);
     }},
    {"XHBX", "startDSBJ", "0",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.startDSBJ = AsBoolean(t); }},
    {"XHBX", "OnTime", "12:00",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings& fs) {
         c.XHBX.OnTime = SysUtils::StrToTime(t, fs);
     }},
    {"XHBX", "OnTimeTxnr", "该准备吃午饭了！",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.OnTimeTxnr = t; }},
    {"XHBX", "startDSBJ2", "0",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.startDSBJ2 = AsBoolean(t); }},
    {"XHBX", "OnTime2", "17:00",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings& fs) {
         c.XHBX.OnTime2 = SysUtils::StrToTime(t, fs);
     }},
    {"XHBX", "OnTimeTxnr2", "该准备下班了！",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.OnTimeTxnr2 = t; }},
    {"XHBX", "startDSBJ3", "0",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.startDSBJ3 = AsBoolean(t); }},
    {"XHBX", "OnTime3", "21:00",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings& fs) {
         c.XHBX.OnTime3 = SysUtils::StrToTime(t, fs);
     }},
    {"XHBX", "OnTimeTxnr3", "该准备带领你的团队下副本了！",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.OnTimeTxnr3 = t; }},
    {"XHBX", "txnr", "主人，工作很长时间了，看一眼蓝天吧！",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.txnr = t; }},
    {"XHBX", "startXHBJFlash", "0",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) {
         c.XHBX.startXHBJFlash = AsBoolean(t);
     }},
    {"XHBX", "XHBXFlashSetByUser", "",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.XHBXFlashSetByUser = t; }},
    {"XHBX", "XHBXFlashWord", "",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.XHBX.XHBXFlashWord = t; }},
    {"XHBX", "flashLonger", "20",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) {
         c.XHBX.flashLonger = SysUtils::StrToInt(t);
     }},
    {"XTSZ", "NotFirstStart", "",
     [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.FirstStart = t != "1"; }},
    {"XTSZ", "BJTP", "", [](TControl& c, const AnsiString& t, const plat::FormatSettings&) { c.BJTP = t; }},
};

AnsiString ReadSetting(const SettingKey& s) {
    return TTools::ReadIni(s.Section, s.Key, Texts::Gbk(s.DefaultUtf8));
}

}  // namespace

TControl::TControl(TMainFrm* mainForm) : MainForm(mainForm) {
    LoadSettings();
    CheckAutoRun();
}

std::unique_ptr<TControl> TControl::CreateUnloaded(TMainFrm* mainForm) {
    return std::unique_ptr<TControl>(new TControl(mainForm, NoLoad{}));
}

void TControl::LoadSettings() {
    const plat::FormatSettings& fs = plat::CurrentFormatSettings();
    for (const SettingKey& s : kSettings) s.Put(*this, ReadSetting(s), fs);
}

std::vector<std::string> TControl::LoadSettingsTolerant() {
    const plat::FormatSettings& fs = plat::CurrentFormatSettings();
    std::vector<std::string> messages;
    for (const SettingKey& s : kSettings) {
        try {
            s.Put(*this, ReadSetting(s), fs);
        } catch (const EConvertError& e) {
            messages.push_back(e.Message());
            s.Put(*this, Texts::Gbk(s.DefaultUtf8), fs);
        }
    }
    return messages;
}

void TControl::CheckAutoRun() {
    if (!FirstStart) return;
    const AnsiString keyPath = plat::RunKeyPath;
    const AnsiString exeName = TTools::GetExeName();
    // Byte for byte: an entry that differs only in letter case names another file on a
    // case-sensitive file system, so the offer is made again.
    if (TTools::RegReadString(plat::RegRoot::LocalMachine, keyPath, AutoRunValueName) == exeName) return;
    if (TTools::Confirm(Texts::Gbk("是否开机启动?")) == plat::BoxOk) {
        TTools::RegWriteString(plat::RegRoot::LocalMachine, keyPath, AutoRunValueName, exeName);
    }
}

AnsiString TControl::GetWeekName() {
    static const char* const kNames[] = {"星期日", "星期一", "星期二", "星期三",
                                         "星期四", "星期五", "星期六"};
    const int day = plat::CurrentClock().Now().DayOfWeek;
    if (day < 0 || day >= static_cast<int>(std::size(kNames))) return AnsiString();
    return Texts::Gbk(kNames[day]);
}
