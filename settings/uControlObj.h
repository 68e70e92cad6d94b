#pragma once
// The configuration object: the reminder settings read from the settings file, and the first-start
// offer to start at login.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Types.h"
#include "settings/uBaseObj.h"

class TMainFrm;

// The reminder settings block; copied by value into the settings dialog.
struct TXHBX {
    bool startXHBJ = false;
    bool startXHBJFlash = false;
    AnsiString XHBXFlashSetByUser;
    AnsiString XHBXFlashWord;
    int32_t flashLonger = 0;
    int32_t xhzq = 0;
    bool startDSBJ = false;
    TDateTime OnTime = 0;
    AnsiString OnTimeTxnr;
    bool startDSBJ2 = false;
    TDateTime OnTime2 = 0;
    AnsiString OnTimeTxnr2;
    bool startDSBJ3 = false;
    TDateTime OnTime3 = 0;
    AnsiString OnTimeTxnr3;
    AnsiString txnr;
};

class TControl : public TBaseObj {
public:
    // Stores the window, loads the settings, then offers start at login on the first start.
    explicit TControl(TMainFrm* mainForm);
    // Stores the window and nothing else: every field stays zero, false or empty, and neither the
    // settings file nor the start-at-login entry is touched. For a caller that wants to load with
    // LoadSettingsTolerant and then run CheckAutoRun itself (the main window at start-up).
    static std::unique_ptr<TControl> CreateUnloaded(TMainFrm* mainForm);

    // Reads the 18 settings in order, storing each at once; a malformed value raises and leaves the
    // later fields as they were.
    void LoadSettings();
    // Reads the same 18 settings but never stops: a malformed value leaves its field at that key's
    // default and its message is collected. Returns the messages in key order (empty when all were
    // well formed).
    std::vector<std::string> LoadSettingsTolerant();
    // On the first start, asks whether to start at login unless the entry already names this program.
    void CheckAutoRun();
    // Today's weekday in Chinese (GBK), from the clock.
    AnsiString GetWeekName();

    AnsiString SaveToStr() override { return AnsiString(); }
    bool LoadFromStr(const AnsiString&) override { return false; }
    void Refresh() override {}

    TMainFrm* MainForm = nullptr;
    TXHBX XHBX;
    bool FirstStart = false;
    AnsiString BJTP;

protected:
    struct NoLoad {};
    TControl(TMainFrm* mainForm, NoLoad) : MainForm(mainForm) {}
};

// The single configuration object; owned by the main window, null before it is created.
extern TControl* AppControl;

// Value name and key of the start-at-login entry.
inline constexpr const char* AutoRunValueName = "Tovik";
