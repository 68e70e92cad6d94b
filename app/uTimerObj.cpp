// TTimerObj: the once-a-second reminder test and the scheduler's one-line text form.
#include "app/uTimerObj.h"

#include <memory>

#include "settings/uStrList.h"
#include "settings/uSysUtils.h"
#include "settings/uToolsObj.h"

TTimerObj::TTimerObj(IWarnWindow* window) : Window(window) {
    Clear();
    LastCircle = SysUtils::Now();
}

void TTimerObj::Clear() {
    // The slot times, done dates and slot texts are left as they are.
    LastCircle = -1.0;
    Circle_Time = -1.0;
    ShowWarnForm = false;
    PlayWarnSound = false;
    WarnForm_Content.clear();
    WarnSound_File.clear();
}

namespace {

// One daily slot: due when its time is exactly the current minute and it has not fired today.
// Marks the slot as fired today before anything is shown.
bool CheckSlot(TDateTime slotTime, TDateTime& done, const AnsiString& content, TDateTime today,
               TDateTime minute, AnsiString& text) {
    if (slotTime != minute || done == today) return false;
    done = today;
    text = content;
    return true;
}

}  // namespace

bool TTimerObj::CheckWarn() {
    const TDateTime now = SysUtils::Now();
    // Both values go through the same text conversions the settings use, so a slot set to hh:mm in
    // the settings compares equal, bit for bit, to the minute computed here.
    const TDateTime today = SysUtils::StrToIsoDate(SysUtils::FormatDateTime("YYYY-MM-DD", now));
    const TDateTime minute = SysUtils::StrToTime(SysUtils::FormatDateTime("hh:mm", now));

    bool fired = false;
    AnsiString text;

    if (Circle_Time >= 1.0 && (now - LastCircle) * 24 * 60 * 60 > Circle_Time) {
        fired = true;
        LastCircle = now;
        text = WarnForm_Content;
    }
    // Later tests overwrite the text, so with several due in one tick the highest slot is shown.
    fired |= CheckSlot(OnTime_Time, OnTimeDone, OnTime_Content, today, minute, text);
    fired |= CheckSlot(OnTime2_Time, OnTime2Done, OnTime2_Content, today, minute, text);
    fired |= CheckSlot(OnTime3_Time, OnTime3Done, OnTime3_Content, today, minute, text);

    // Every mark is in place by now: a tick nested inside the window's slide-up sees them and stays quiet.
    if (fired) DoWarn(text);
    return true;
}

bool TTimerObj::DoWarn(const AnsiString& text) {
    if (Window != nullptr) {
        Window->ShowWarnText(text);
        Window->ShowForm();
    }
    return true;
}

AnsiString TTimerObj::SaveToStr() {
    TStringList list;
    list.SetValues("Circle_Time", SysUtils::FloatToStr(Circle_Time));
    list.SetValues("OnTime_Time", SysUtils::FloatToStr(OnTime_Time));
    list.SetValues("ShowWarnForm", ShowWarnForm ? "1" : "0");
    list.SetValues("PlayWarnSound", PlayWarnSound ? "1" : "0");
    // An empty text adds no entry.
    list.SetValues("WarnForm_Content", WarnForm_Content);
    list.SetValues("WarnSound_File", WarnSound_File);
    return TJSon::ListToJson(list);
}

bool TTimerObj::LoadFromStr(const AnsiString& text) {
    // Fields are assigned one by one: when a number does not convert, the error goes to the caller
    // and the fields before it already hold their new values.
    const std::unique_ptr<TStringList> list = TJSon::JsonToList(text);
    Circle_Time = SysUtils::StrToFloat(list->Values("Circle_Time"));
    OnTime_Time = SysUtils::StrToFloat(list->Values("OnTime_Time"));
    ShowWarnForm = list->Values("ShowWarnForm") == "1";
    PlayWarnSound = list->Values("PlayWarnSound") == "1";
    WarnForm_Content = list->Values("WarnForm_Content");
    WarnSound_File = list->Values("WarnSound_File");
    return true;
}
