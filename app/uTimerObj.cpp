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

// The current date at 00:00 and the current time of day cut to the whole minute, as CheckWarn
// compares them. Both go through the same text conversions the settings use, so a slot set to hh:mm
// in the settings compares equal, bit for bit, to the minute computed here.
TDateTime TodayOf(TDateTime now) {
    return SysUtils::StrToIsoDate(SysUtils::FormatDateTime("YYYY-MM-DD", now));
}
TDateTime MinuteOf(TDateTime now) {
    return SysUtils::StrToTime(SysUtils::FormatDateTime("hh:mm", now));
}

constexpr TDateTime kOneMinute = 1.0 / (24 * 60);

// When a daily slot fires next: at the start of its minute on the first date from today on that is
// not its done date, or at once when that minute is running and the slot has not fired today.
std::optional<TDateTime> NextSlotAt(TDateTime slotTime, TDateTime done, TDateTime now) {
    if (!(slotTime >= 0.0 && slotTime < 1.0)) return std::nullopt;  // off (-1.0), or no time of day
    const TDateTime today = TodayOf(now);
    // A done date marks a single day, so the slot fires on one of the next three.
    for (int day = 0; day < 3; ++day) {
        const TDateTime start = today + day + slotTime;
        // The tick inside that minute must see exactly the slot's time (a time with seconds never
        // does), and the date CheckWarn compares with the done date.
        if (MinuteOf(start) != slotTime) return std::nullopt;
        if (start + kOneMinute <= now) continue;  // the minute is over for today
        if (TodayOf(start) == done) continue;     // already fired on that date
        return start > now ? start : now;
    }
    return std::nullopt;
}

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
    const TDateTime today = TodayOf(now);
    const TDateTime minute = MinuteOf(now);

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

std::optional<TDateTime> TTimerObj::NextWarnAt(TDateTime now) const {
    std::optional<TDateTime> next;
    auto take = [&next](std::optional<TDateTime> at) {
        if (at && (!next || *at < *next)) next = at;
    };
    if (Circle_Time >= 1.0) {
        const TDateTime end = LastCircle + Circle_Time / (24 * 60 * 60);
        take(end > now ? end : now);
    }
    take(NextSlotAt(OnTime_Time, OnTimeDone, now));
    take(NextSlotAt(OnTime2_Time, OnTime2Done, now));
    take(NextSlotAt(OnTime3_Time, OnTime3Done, now));
    return next;
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
