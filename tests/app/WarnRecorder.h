#pragma once
// A window stand-in for the scheduler tests: records what it is asked to show and, at the moment the
// text arrives, the scheduler's marks, so a test can tell whether they were written before the window ran.
#include <functional>
#include <string>
#include <vector>

#include "app/uTimerObj.h"
#include "settings/uSysUtils.h"

struct Marks {
    TDateTime LastCircle = 0;
    TDateTime OnTimeDone = 0;
    TDateTime OnTime2Done = 0;
    TDateTime OnTime3Done = 0;

    static Marks Of(const TTimerObj& t) { return {t.LastCircle, t.OnTimeDone, t.OnTime2Done, t.OnTime3Done}; }
    bool operator==(const Marks&) const = default;
};

class WarnRecorder : public IWarnWindow {
public:
    void ShowWarnText(const AnsiString& text) override {
        Calls.push_back("text:" + text);
        Texts.push_back(text);
        if (Watched != nullptr) MarksAtText.push_back(Marks::Of(*Watched));
    }
    void ShowForm() override {
        Calls.push_back("form");
        if (OnShowForm) OnShowForm();
    }

    const TTimerObj* Watched = nullptr;  // whose marks to note when a text arrives
    std::function<void()> OnShowForm;    // runs inside ShowForm, as the slide-up's message pumping does
    std::vector<std::string> Calls;
    std::vector<AnsiString> Texts;
    std::vector<Marks> MarksAtText;
};

// Date plus time of day, the way the clock reports it.
inline TDateTime At(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0) {
    return SysUtils::EncodeDate(year, month, day) + SysUtils::EncodeTime(hour, minute, second, ms);
}
