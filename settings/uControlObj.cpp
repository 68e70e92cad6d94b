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

bool AsBoolean(const AnsiString& text) {
    return text == "1";
}

using C = TSetControl;
using T = TSettingText;
using V = const TSettingValues&;

// The settings in the order they are read. Each one is stored before the next is read, so a bad
// value leaves the fields before it new and the fields after it as they were.
const TSetting kSettings[] = {
    {"XHBX", "startXHBJ", "0", T::Flag, C::chk_startxhbx,
     [](V v) -> TSettingField { return &v.XHBX.startXHBJ; }},
    {"XHBX", "xhzq", "120", T::Minutes, C::edt_XHBX_XHZQ, [](V v) -> TSettingField { return &v.XHBX.xhzq; }},
    {"XHBX", "startDSBJ", "0", T::Flag, C::cbDsbj, [](V v) -> TSettingField { return &v.XHBX.startDSBJ; }},
    {"XHBX", "OnTime", "12:00", T::TimeOfDay, C::edt_OnTime,
     [](V v) -> TSettingField { return &v.XHBX.OnTime; }},
    {"XHBX", "OnTimeTxnr", "该准备吃午饭了！", T::TrimmedLine, C::edtOnTimeTXNR,
     [](V v) -> TSettingField { return &v.XHBX.OnTimeTxnr; }},
    {"XHBX", "startDSBJ2", "0", T::Flag, C::cbDsbj2, [](V v) -> TSettingField { return &v.XHBX.startDSBJ2; }},
    {"XHBX", "OnTime2", "17:00", T::TimeOfDay, C::edt_OnTime2,
     [](V v) -> TSettingField { return &v.XHBX.OnTime2; }},
    {"XHBX", "OnTimeTxnr2", "该准备下班了！", T::TrimmedLine, C::edtOnTimeTXNR2,
     [](V v) -> TSettingField { return &v.XHBX.OnTimeTxnr2; }},
    {"XHBX", "startDSBJ3", "0", T::Flag, C::cbDsbj3, [](V v) -> TSettingField { return &v.XHBX.startDSBJ3; }},
    {"XHBX", "OnTime3", "21:00", T::TimeOfDay, C::edt_OnTime3,
     [](V v) -> TSettingField { return &v.XHBX.OnTime3; }},
    {"XHBX", "OnTimeTxnr3", "该准备带领你的团队下副本了！", T::TrimmedLine, C::edtOnTimeTXNR3,
     [](V v) -> TSettingField { return &v.XHBX.OnTimeTxnr3; }},
    // The cyclic reminder's text keeps the blanks around it.
    {"XHBX", "txnr", "主人，工作很长时间了，看一眼蓝天吧！", T::Line, C::edt_XHBX_TXNR,
     [](V v) -> TSettingField { return &v.XHBX.txnr; }},
    {"XHBX", "startXHBJFlash", "0", T::Flag, C::chk_XHFlash,
     [](V v) -> TSettingField { return &v.XHBX.startXHBJFlash; }},
    {"XHBX", "XHBXFlashSetByUser", "", T::TrimmedLine, C::edt_XHBX_Flash,
     [](V v) -> TSettingField { return &v.XHBX.XHBXFlashSetByUser; }},
    {"XHBX", "XHBXFlashWord", "", T::TrimmedLine, C::edt_XHBX_FlashWord,
     [](V v) -> TSettingField { return &v.XHBX.XHBXFlashWord; }},
    {"XHBX", "flashLonger", "20", T::Number, C::edt_flashlonger,
     [](V v) -> TSettingField { return &v.XHBX.flashLonger; }},
    {"XTSZ", "NotFirstStart", "", T::Mark, std::nullopt, [](V v) -> TSettingField { return &v.FirstStart; }},
    {"XTSZ", "BJTP", "", T::TrimmedLine, C::edt_BJTP, [](V v) -> TSettingField { return &v.BJTP; }},
};

// Converts one stored text and puts it into its field; raises EConvertError on malformed text.
void Put(const TSetting& s, const TSettingValues& values, const AnsiString& text,
         const plat::FormatSettings& fs) {
    const TSettingField field = s.Field(values);
    switch (s.Text) {
        case T::Flag:
            *std::get<bool*>(field) = AsBoolean(text);
            break;
        case T::Mark:
            *std::get<bool*>(field) = !AsBoolean(text);  // the mark says the first start is over
            break;
        case T::Minutes:
        case T::Number:
            *std::get<int32_t*>(field) = SysUtils::StrToInt(text);
            break;
        case T::TimeOfDay:
            *std::get<TDateTime*>(field) = SysUtils::StrToTime(text, fs);
            break;
        case T::Line:
        case T::TrimmedLine:
            *std::get<AnsiString*>(field) = text;
            break;
    }
}

AnsiString ReadSetting(const TSetting& s) {
    return TTools::ReadIni(s.Section, s.Key, Texts::Gbk(s.DefaultUtf8));
}

}  // namespace

std::span<const TSetting> SettingsTable() {
    return kSettings;
}

const char* SetControlName(TSetControl control) {
    switch (control) {
        case C::chk_startxhbx:
            return "chk_startxhbx";
        case C::edt_XHBX_XHZQ:
            return "edt_XHBX_XHZQ";
        case C::edt_XHBX_TXNR:
            return "edt_XHBX_TXNR";
        case C::cbDsbj:
            return "cbDsbj";
        case C::edt_OnTime:
            return "edt_OnTime";
        case C::edtOnTimeTXNR:
            return "edtOnTimeTXNR";
        case C::cbDsbj2:
            return "cbDsbj2";
        case C::edt_OnTime2:
            return "edt_OnTime2";
        case C::edtOnTimeTXNR2:
            return "edtOnTimeTXNR2";
        case C::cbDsbj3:
            return "cbDsbj3";
        case C::edt_OnTime3:
            return "edt_OnTime3";
        case C::edtOnTimeTXNR3:
            return "edtOnTimeTXNR3";
        case C::chk_XHFlash:
            return "chk_XHFlash";
        case C::edt_XHBX_Flash:
            return "edt_XHBX_Flash";
        case C::edt_XHBX_FlashWord:
            return "edt_XHBX_FlashWord";
        case C::edt_flashlonger:
            return "edt_flashlonger";
        case C::chk_KJQD:
            return "chk_KJQD";
        case C::edt_BJTP:
            return "edt_BJTP";
        case C::pnl_leftbtn_xhbx:
            return "pnl_leftbtn_xhbx";
        case C::img_leftbtn_XHBX:
            return "img_leftbtn_XHBX";
        case C::pnl_leftbtn_dsbx:
            return "pnl_leftbtn_dsbx";
        case C::img_leftbtn_DSBX:
            return "img_leftbtn_DSBX";
        case C::pnl_leftbtn_xtsz:
            return "pnl_leftbtn_xtsz";
        case C::img_leftbtn_XTSZ:
            return "img_leftbtn_XTSZ";
    }
    return "";
}

TControl::TControl(TMainFrm* mainForm) : MainForm(mainForm) {
    LoadSettings();
    CheckAutoRun();
}

std::unique_ptr<TControl> TControl::CreateUnloaded(TMainFrm* mainForm) {
    return std::unique_ptr<TControl>(new TControl(mainForm, NoLoad{}));
}

void TControl::LoadSettings() {
    const plat::FormatSettings& fs = plat::CurrentFormatSettings();
    for (const TSetting& s : kSettings) Put(s, Values(), ReadSetting(s), fs);
}

std::vector<std::string> TControl::LoadSettingsTolerant() {
    const plat::FormatSettings& fs = plat::CurrentFormatSettings();
    std::vector<std::string> messages;
    for (const TSetting& s : kSettings) {
        try {
            Put(s, Values(), ReadSetting(s), fs);
        } catch (const EConvertError& e) {
            messages.push_back(e.Message());
            Put(s, Values(), Texts::Gbk(s.DefaultUtf8), fs);
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
