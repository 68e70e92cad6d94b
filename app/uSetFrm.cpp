#include "app/uSetFrm.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <string_view>
#include <variant>

#include "app/uAppErrors.h"
#include "app/uMainView.h"
#include "app/uSetFrmLook.h"
#include "platform/AnsiBytes.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "settings/uStrings.h"
#include "settings/uSysUtils.h"
#include "settings/uTimerInfo.h"
#include "settings/uToolsObj.h"

namespace {

using C = TSetControl;

// The navigation column's entries: each panel with its highlight image, in the order they were made.
struct TNavEntry {
    const char* PanelName;
    TSetControl Panel;
    const char* ImageName;
    TSetControl Image;
};
constexpr TNavEntry kNavEntries[] = {
    {"pnl_leftbtn_xhbx", TSetControl::pnl_leftbtn_xhbx, "img_leftbtn_XHBX", TSetControl::img_leftbtn_XHBX},
    {"pnl_leftbtn_dsbx", TSetControl::pnl_leftbtn_dsbx, "img_leftbtn_DSBX", TSetControl::img_leftbtn_DSBX},
    {"pnl_leftbtn_xtsz", TSetControl::pnl_leftbtn_xtsz, "img_leftbtn_XTSZ", TSetControl::img_leftbtn_XTSZ},
};

// A time editor's text for a time of day: "HH:MM".
AnsiString HourMinuteText(TDateTime value) {
    int hour = 0, minute = 0, second = 0, ms = 0;
    SysUtils::DecodeTime(value, hour, minute, second, ms);
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour % 24, minute % 60);
    return text;
}

// The time of day a time editor's "HH:MM" text stands for; raises on anything else.
TDateTime HourMinuteValue(const AnsiString& text) {
    const auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    if (text.size() != 5 || text[2] != ':' || !digit(0) || !digit(1) || !digit(3) || !digit(4))
        throw EConvertError("'" + text + "' is not a valid time");
    const int hour = (text[0] - '0') * 10 + (text[1] - '0');
    const int minute = (text[3] - '0') * 10 + (text[4] - '0');
    if (hour > 23 || minute > 59) throw EConvertError("'" + text + "' is not a valid time");
    return SysUtils::EncodeTime(hour, minute, 0, 0);
}

// The period box's text with full-width digits (as a Chinese input method types them in its full-width
// mode: GBK A3 B0 to A3 B9) made plain, and blanks around it removed.
AnsiString PlainDigits(const AnsiString& text) {
    AnsiString plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (lead == 0xA3 && trail >= 0xB0 && trail <= 0xB9) {
            plain += static_cast<char>('0' + (trail - 0xB0));
            ++i;
        } else {
            plain += text[i];
            if (plat::IsGbkLeadByte(text[i]) && i + 1 < text.size()) plain += text[++i];
        }
    }
    return SysUtils::Trim(plain);
}

// The period box's number when its text is plain digits within the box's range.
bool PeriodValue(const AnsiString& text, int32_t& value) {
    const AnsiString digits = PlainDigits(text);
    if (digits.empty() || digits.size() > 10) return false;
    int64_t number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    if (number < TSetFrm::PeriodMin || number > TSetFrm::PeriodMax) return false;
    value = static_cast<int32_t>(number);
    return true;
}

// A text as a value of the settings file keeps it: on one line (each line break, CR LF, CR or LF,
// becomes one blank, as a one-line box shows a pasted text), and at most the bytes a value holds,
// cut before a character that would not fit whole.
AnsiString OneLineValue(const AnsiString& text) {
    AnsiString line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            line += ' ';
        } else {
            line += text[i];
        }
    }
    std::size_t kept = 0;
    while (kept < line.size()) {
        const std::size_t len = plat::GbkCharLen(std::string_view(line).substr(kept));
        if (kept + len > static_cast<std::size_t>(TTools::IniValueMax)) break;
        kept += len;
    }
    line.resize(kept);
    return line;
}

}  // namespace

void TSetFrm::FormCreate(ISetView& view) {
    View = &view;
    FormMove = TFormMove();
}

void TSetFrm::FormDestroy() {
    FormMove.EndMove();
}

// ---- navigation ----------------------------------------------------------------------------------

void TSetFrm::ShowHoverImage(const AnsiString& name) {
    for (const TNavEntry& entry : kNavEntries)
        View->SetVisible(entry.Image, plat::SameTextAscii(entry.ImageName, name));
}

void TSetFrm::SelectNavButton(const AnsiString& name) {
    for (const TNavEntry& entry : kNavEntries)
        View->SetColor(entry.Panel, plat::SameTextAscii(entry.PanelName, name) ? SetFrmLook::NavSelectedColor
                                                                               : SetFrmLook::NavColor);
}

void TSetFrm::img1MouseDown(int32_t x, int32_t y, TMouseButton button, TRect strip) {
    FormMove.BeginMove(View, x, y, button, strip);
}

void TSetFrm::img1MouseMove(int32_t x, int32_t y) {
    FormMove.MoveTo(x, y);
}

void TSetFrm::img1MouseUp() {
    FormMove.EndMove();
}

void TSetFrm::pnl_leftbtn_xhbxMouseMove() {
    ShowHoverImage("img_leftbtn_XHBX");
}

void TSetFrm::pnl_leftbtn_dsbxMouseMove() {
    ShowHoverImage("img_leftbtn_DSBX");
}

void TSetFrm::pnl_leftbtn_xtszMouseMove() {
    ShowHoverImage("img_leftbtn_XTSZ");
}

void TSetFrm::pnl1MouseMove() {
    ShowHoverImage("NUN");
}

void TSetFrm::pnl3MouseMove() {
    ShowHoverImage("NUN");
}

void TSetFrm::img_leftbtn_XHBXClick() {
    ShowHoverImage("NUN");
    SelectNavButton("pnl_leftbtn_XHBX");
    View->ShowPage(TSetPage::tsxhbx);
}

void TSetFrm::img_leftbtn_DSBXClick() {
    ShowHoverImage("NUN");
    SelectNavButton("pnl_leftbtn_dsBX");
    View->ShowPage(TSetPage::tsdsbx);
}

void TSetFrm::img_leftbtn_XTSZClick() {
    ShowHoverImage("NUN");
    SelectNavButton("pnl_leftbtn_Xtsz");
    View->ShowPage(TSetPage::tsxtsz);
}

bool TSetFrm::CheckPeriod() {
    const AnsiString period = View->Text(TSetControl::edt_XHBX_XHZQ);
    int32_t minutes = 0;
    if (period == LoadedPeriod || SysUtils::Trim(period).empty() || PeriodValue(period, minutes)) return true;
    plat::ShowMessageBox(Texts::Gbk(PeriodRangeMessage), "Chimewick", plat::TBoxKind::Notice);
    return false;
}

void TSetFrm::img3Click() {
    // A period the box cannot take is said before anything is written; the dialog stays open.
    if (!CheckPeriod()) return;
    try {
        // One save is one replacement of the settings file: a crash leaves the old settings or the new.
        plat::ProfileWriteBatch save;
        SaveAll();
        save.Commit();
    } catch (const std::exception&) {
        // This picture is the dialog's only way out, and a save that cannot succeed (a read-only file,
        // a folder where the program may not write) fails every time: the user is told why and may
        // leave without saving. The settings in force then stay as they were.
        const AnsiString question = CurrentExceptionMessage() + "\n\n" + Texts::Gbk(SaveFailedQuestion);
        if (TTools::Confirm(question) == plat::BoxOk) View->CloseModal();
        return;
    }
    Saved = true;
    View->CloseModal();
}

// ---- filling -------------------------------------------------------------------------------------

void TSetFrm::LoadData(const TXHBX& settings, TTimerInfos* list, const AnsiString& background) {
    TimerInfos = list;
    TXHBX shown = settings;
    bool firstStart = false;
    AnsiString path = background;
    const TSettingValues values{shown, firstStart, path};
    // In the table's order; the animation length comes last, and its changed text runs the range
    // check, which may reset it to "20".
    for (const TSetting& s : SettingsTable()) {
        if (!s.Control) continue;
        const C control = *s.Control;
        const TSettingField field = s.Field(values);
        switch (s.Text) {
            case TSettingText::Flag:
                View->SetChecked(control, *std::get<bool*>(field));
                break;
            case TSettingText::Minutes:
                // The stored number as it is, also outside the box's range: untouched, it is written
                // back unchanged.
                LoadedPeriod = SysUtils::IntToStr(*std::get<int32_t*>(field));
                View->SetText(control, LoadedPeriod);
                break;
            case TSettingText::Number:
                View->SetText(control, SysUtils::IntToStr(*std::get<int32_t*>(field)));
                break;
            case TSettingText::TimeOfDay:
                View->SetText(control, HourMinuteText(*std::get<TDateTime*>(field)));
                break;
            case TSettingText::Line:
            case TSettingText::TrimmedLine:
                View->SetText(control, *std::get<AnsiString*>(field));
                break;
            case TSettingText::Mark:
                break;
        }
    }
}

void TSetFrm::LoadAutoRun() {
    const AnsiString value =
        TTools::RegReadString(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName);
    View->SetChecked(TSetControl::chk_KJQD, value == TTools::GetExeName());
}

// ---- saving --------------------------------------------------------------------------------------

void TSetFrm::SaveAll() {
    SaveXHBX();
    SaveTimerInfos();
    SaveXTSZ();
}

AnsiString TSetFrm::FileText(const TSetting& setting) const {
    if (!setting.Control) return "1";  // the mark of a save
    const C control = *setting.Control;
    switch (setting.Text) {
        case TSettingText::Flag:
            return TTools::IIF(View->Checked(control), "1", "0");
        case TSettingText::Minutes: {
            // Plain digits; an emptied box stands for one minute. A box the user did not touch keeps the
            // stored value as it was, also one outside the box's range that was put in by hand.
            const AnsiString period = View->Text(control);
            if (period == LoadedPeriod) return period;
            int32_t minutes = PeriodMin;
            return PeriodValue(period, minutes) ? SysUtils::IntToStr(minutes) : AnsiString("1");
        }
        case TSettingText::Number: {
            // Written as its check reads it: an empty box is 0.
            AnsiString number = OneLineValue(SysUtils::Trim(View->Text(control)));
            if (number.empty()) number = AnsiString("0");  // not = "0": a false GCC 12 warning at -O3
            return number;
        }
        case TSettingText::TimeOfDay:
            return SysUtils::FormatDateTime(plat::CurrentFormatSettings().LongTimeFormat,
                                            HourMinuteValue(View->Text(control)));
        case TSettingText::Line:
            return OneLineValue(View->Text(control));
        case TSettingText::TrimmedLine:
            return OneLineValue(SysUtils::Trim(View->Text(control)));
        case TSettingText::Mark:
            return "1";
    }
    return AnsiString();
}

void TSetFrm::SaveSection(const char* section, bool marks, bool values) {
    for (const TSetting& s : SettingsTable()) {
        const bool mark = s.Text == TSettingText::Mark;
        if (std::string_view(s.Section) == section && (mark ? marks : values))
            TTools::WriteIni(s.Section, s.Key, FileText(s));
    }
}

void TSetFrm::SaveXHBX() {
    SaveSection("XHBX");
}

void TSetFrm::SaveTimerInfos() {}

void TSetFrm::SaveXTSZ() {
    // The mark of a save, the start-at-login entry, then the section's values: a refused entry leaves
    // the values unwritten.
    SaveSection("XTSZ", true, false);
    if (View->Checked(TSetControl::chk_KJQD))
        TTools::RegWriteString(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName,
                               TTools::GetExeName());
    else
        TTools::RegDelete(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName);
    SaveSection("XTSZ", false, true);
}

// ---- input help ----------------------------------------------------------------------------------

void TSetFrm::edt_XHBX_XHZQ1KeyPress(char& key) {
    if (key != 8 && (key < '0' || key > '9')) key = 0;
}

void TSetFrm::edt_flashlongerChange() {
    AnsiString text = View->Text(TSetControl::edt_flashlonger);
    if (text.empty()) text = AnsiString("0");  // not = "0": a false GCC 12 warning at -O3
    const int32_t seconds = SysUtils::StrToInt(text);
    if (seconds < 0 || seconds > 45) {
        plat::ShowMessageBox(Texts::Gbk("输入范围: 0-45 之间的一个值"), "Chimewick", plat::TBoxKind::Notice);
        View->SetText(TSetControl::edt_flashlonger, "20");
    }
}

void TSetFrm::img_XHBX_FlashClick() {
    AnsiString path;
    if (View->ChooseFile({AnsiString(), Texts::Gbk("flash文件|*.swf")}, path))
        View->SetText(TSetControl::edt_XHBX_Flash, path);
}

void TSetFrm::edt_BJTPButtonClick() {
    AnsiString path;
    if (View->ChooseFile({Texts::Gbk("界面背景"), AnsiString()}, path))
        View->SetText(TSetControl::edt_BJTP, path);
}

// ---- the settings command's dialog ---------------------------------------------------------------

bool ShowSetForm(const TXHBX& settings, TTimerInfos* list, IMainView& owner, const TRect& monitor) {
    // The dialog shows the settings and writes the file; the configuration itself changes only by the
    // reload that follows.
    TSetFrm dialog;
    const std::unique_ptr<ISetView> view = owner.CreateSetView(dialog);
    dialog.FormCreate(*view);
    dialog.img_leftbtn_XHBXClick();
    dialog.LoadData(settings, list, AppControl ? AppControl->BJTP : AnsiString());
    dialog.LoadAutoRun();
    // Centred on the monitor it belongs on.
    const TRect screen = monitor.Width > 0 && monitor.Height > 0 ? monitor : owner.ScreenRect();
    view->PlaceWindow({screen.Left + (screen.Width - TSetFrm::DesignWidth) / 2,
                       screen.Top + (screen.Height - TSetFrm::DesignHeight) / 2, TSetFrm::DesignWidth,
                       TSetFrm::DesignHeight});
    view->ShowModal();
    dialog.FormDestroy();
    return dialog.Saved;
}
