#pragma once
// The numbered reminder list kept in the settings file: loaded and carried, never fired.
#include <cstdint>
#include <vector>

#include "platform/Types.h"
#include "settings/uStrList.h"

struct RTimerInfo {
    int32_t Number = 0;
    bool WarnEnable = false;
    int32_t WarnType = 0;
    TDateTime WarnTime = 0;
    int32_t WarnMinute = 0;
    bool WarnEnable2 = false;
    AnsiString WarnInfo;
    bool WarnProgramEnable = false;
    AnsiString WarnProgram;
    bool WeekMon = false;
    bool WeekTues = false;
    bool WeekWed = false;
    bool WeekThur = false;
    bool WeekFri = false;
    bool WeekSat = false;
    bool WeekSun = false;
};

class TTimerInfo {
public:
    explicit TTimerInfo(int32_t number);

    int32_t GetWarnNumber() const { return FWarnNumber; }
    // Stores the number, then reloads every field from the entry's section.
    void SetWarnNumber(int32_t number);
    void LoadInfo(int32_t number);
    const RTimerInfo& TimerInfo() const { return FTimerInfo; }

private:
    RTimerInfo FTimerInfo;
    int32_t FWarnNumber = 0;
};

class TTimerInfos {
public:
    // Reads the entry numbers and creates one entry per number; on failure frees what it created.
    TTimerInfos();
    ~TTimerInfos();
    TTimerInfos(const TTimerInfos&) = delete;
    TTimerInfos& operator=(const TTimerInfos&) = delete;

    void LoadNums();
    void CreateInfos();
    void ClearInfos();

    TStringList NumList;
    std::vector<TTimerInfo*> Infos;  // owned; a slot may be empty
};
