#pragma once
// The scheduler: decides once a second whether the cyclic reminder or one of the three daily
// reminders is due, and hands one text to the window.
#include <optional>

#include "platform/Types.h"
#include "settings/uBaseObj.h"

// What the scheduler needs of the window it announces through.
class IWarnWindow {
public:
    virtual ~IWarnWindow() = default;
    // Writes the reminder text and the announcement time into the window.
    virtual void ShowWarnText(const AnsiString& text) = 0;
    // Brings the window up at the bottom right.
    virtual void ShowForm() = 0;
};

class TTimerObj : public TBaseObj {
public:
    // Clears the object and starts the cyclic period now. The window is not owned.
    explicit TTimerObj(IWarnWindow* window = nullptr);

    void Clear();
    // Runs the four tests of one tick; true in every case.
    bool CheckWarn();
    // Shows the text and brings the window up; true in every case.
    bool DoWarn(const AnsiString& text);

    // The earliest moment from `now` on at which CheckWarn, ticking once a second, announces something,
    // with the marks as they stand: the end of the cyclic period (it fires on the first tick after
    // it), or the start of a daily reminder's minute on the first date it has not fired on. `now`
    // itself when a reminder is due at once; none when every reminder is off or can never fire (a
    // daily time that is not a whole minute). Reads the fields only and changes nothing; raises
    // EConvertError where CheckWarn would.
    std::optional<TDateTime> NextWarnAt(TDateTime now) const;

    AnsiString SaveToStr() override;
    // True when the text was read and applied; raises EConvertError on a bad number.
    bool LoadFromStr(const AnsiString& text) override;
    void Refresh() override {}

    TDateTime LastCircle = 0;
    double Circle_Time = 0;
    bool ShowWarnForm = false;
    bool PlayWarnSound = false;
    AnsiString WarnForm_Content;
    AnsiString WarnSound_File;
    TDateTime OnTime_Time = 0;
    TDateTime OnTime3_Time = 0;
    TDateTime OnTime2_Time = 0;
    TDateTime OnTimeDone = 0;
    TDateTime OnTime2Done = 0;
    TDateTime OnTime3Done = 0;
    AnsiString OnTime_Content;
    AnsiString OnTime3_Content;
    AnsiString OnTime2_Content;

    IWarnWindow* Window = nullptr;
};
