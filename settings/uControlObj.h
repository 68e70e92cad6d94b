#pragma once
// The configuration object: the reminder settings read from the settings file, and the first-start
// offer to start at login.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/Types.h"
#include "settings/uBaseObj.h"
#include "settings/uSetControl.h"

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

// How a setting's value is written in the settings file and shown in its control of the settings dialog.
enum class TSettingText : uint8_t {
    Flag,         // "1" or "0"; a check box
    Minutes,      // whole minutes; the period box, checked against its range when changed
    Number,       // a whole number in an edit box; an emptied box is written "0"
    TimeOfDay,    // the system's long time format; a time editor showing "HH:MM"
    Line,         // a text on one line, cut to what a value holds; an edit box, taken as typed
    TrimmedLine,  // the same, blanks around it removed (texts and paths)
    Mark,         // no control: written "1" by every save of the dialog (read as "not the first start")
};

// Where a setting's value lives in the configuration.
using TSettingField = std::variant<bool*, int32_t*, TDateTime*, AnsiString*>;

// The values the settings file holds: the reminder block, the first-start mark and the background.
struct TSettingValues {
    TXHBX& XHBX;
    bool& FirstStart;
    AnsiString& BJTP;
};

// One key of the settings file: where it is, its default, how its text converts and which control of
// the settings dialog shows it. Adding a setting is one row of SettingsTable plus its control.
struct TSetting {
    const char* Section;
    const char* Key;
    const char* DefaultUtf8;  // converted to GBK before use
    TSettingText Text;
    std::optional<TSetControl> Control;  // none for Mark
    TSettingField (*Field)(const TSettingValues& values);
};

// The settings in the order they are read and written.
std::span<const TSetting> SettingsTable();

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

    TSettingValues Values() { return {XHBX, FirstStart, BJTP}; }

protected:
    struct NoLoad {};
    TControl(TMainFrm* mainForm, NoLoad) : MainForm(mainForm) {}
};

// The single configuration object; owned by the main window, null before it is created.
extern TControl* AppControl;

// Value name and key of the start-at-login entry.
inline constexpr const char* AutoRunValueName = "Tovik";
