// The numbered reminder list: the entry numbers come from XTSZ/WarnNums, each entry's data from the
// section XHBX<number>. The list is read once and carried; nothing here writes the file.
#include "settings/uTimerInfo.h"

#include <memory>
#include <string>

#include "settings/uSysUtils.h"
#include "settings/uToolsObj.h"

namespace {

// Frees whatever entries are left in the slots (normally none once ClearInfos has run).
void FreeSlots(std::vector<TTimerInfo*>& infos) {
    for (TTimerInfo*& info : infos) {
        delete info;
        info = nullptr;
    }
}

}  // namespace

TTimerInfo::TTimerInfo(int32_t number) {
    SetWarnNumber(number);
}

void TTimerInfo::SetWarnNumber(int32_t number) {
    FWarnNumber = number;
    LoadInfo(number);
}

void TTimerInfo::LoadInfo(int32_t number) {
    const AnsiString section = "XHBX" + std::to_string(number);
    auto read = [&section](const char* key, const char* defaultValue) {
        return TTools::ReadIni(section, key, defaultValue);
    };
    RTimerInfo& info = FTimerInfo;
    // Each value is stored as soon as it is read: a malformed one leaves the later fields as they were.
    info.Number = number;
    info.WarnEnable = read("WarnEnable", "0") == "1";
    info.WarnType = SysUtils::StrToInt(read("WarnType", "0"));
    info.WarnTime = SysUtils::StrToTime(read("WarnTime", "00:00"));
    info.WarnMinute = SysUtils::StrToInt(read("WarnMinute", "0"));
    // The file has no key of its own for the second flag; it mirrors WarnEnable.
    info.WarnEnable2 = read("WarnEnable", "0") == "1";
    info.WarnInfo = read("WarnInfo", "");
    info.WarnProgramEnable = read("WarnProgramEnable", "0") == "1";
    info.WarnProgram = read("WarnProgram", "");
    info.WeekMon = read("WeekMon", "0") == "1";
    info.WeekTues = read("WeekTues", "0") == "1";
    info.WeekWed = read("WeekWed", "0") == "1";
    info.WeekThur = read("WeekThur", "0") == "1";
    info.WeekFri = read("WeekFri", "0") == "1";
    info.WeekSat = read("WeekSat", "0") == "1";
    info.WeekSun = read("WeekSun", "0") == "1";
}

TTimerInfos::TTimerInfos() {
    // The destructor does not run for a half-built object, so the entries made before a failure
    // are freed here before the error goes on.
    try {
        LoadNums();
        CreateInfos();
    } catch (...) {
        ClearInfos();
        throw;
    }
}

TTimerInfos::~TTimerInfos() {
    ClearInfos();
    // Slots past the line count can only be filled if a holder edited NumList; free them too.
    FreeSlots(Infos);
}

void TTimerInfos::LoadNums() {
    ClearInfos();
    FreeSlots(Infos);
    NumList.SetText(TTools::ReadIni("XTSZ", "WarnNums", ""));
    Infos.assign(static_cast<std::size_t>(NumList.Count()), nullptr);
}

void TTimerInfos::CreateInfos() {
    if (Infos.size() < static_cast<std::size_t>(NumList.Count())) {
        Infos.resize(static_cast<std::size_t>(NumList.Count()), nullptr);
    }
    for (int i = 0; i < NumList.Count(); ++i) {
        auto info = std::make_unique<TTimerInfo>(SysUtils::StrToInt(NumList.Strings(i)));
        // Creating the list twice replaces the entries instead of losing the old ones.
        delete Infos[static_cast<std::size_t>(i)];
        Infos[static_cast<std::size_t>(i)] = info.release();
    }
}

void TTimerInfos::ClearInfos() {
    for (int i = 0; i < NumList.Count() && i < static_cast<int>(Infos.size()); ++i) {
        delete Infos[static_cast<std::size_t>(i)];
        Infos[static_cast<std::size_t>(i)] = nullptr;
    }
    NumList.Clear();
}
