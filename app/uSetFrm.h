#pragma once
// The settings dialog's behaviour: navigation (hover highlight, selected entry, pages), the drag, what
// fills the controls and what closing writes to the settings file and the start-at-login entry, the
// animation length's key filter and range check, and the file pickers. The dialog draws nothing itself:
// it talks to its window through ISetView, and the window forwards its events to the handlers below.
#include <cstdint>
#include <vector>

#include "app/uFormMove.h"
#include "app/uSetView.h"
#include "platform/Types.h"
#include "settings/uControlObj.h"

class IMainView;
class TTimerInfos;

class TSetFrm {
public:
    static constexpr int32_t DesignWidth = 703;
    static constexpr int32_t DesignHeight = 341;
    // The period box holds whole minutes from PeriodMin to PeriodMax, whose length in seconds still
    // fits 32 bits; at most PeriodDigits digits can be typed.
    static constexpr int32_t PeriodMin = 1;
    static constexpr int32_t PeriodMax = 35791394;
    static constexpr int PeriodDigits = 8;
    // Said when the period box holds anything but a whole number of minutes in that range.
    static constexpr const char* PeriodRangeMessage = "输入范围: 1-35791394 之间的一个值";

    TSetFrm() = default;
    TSetFrm(const TSetFrm&) = delete;
    TSetFrm& operator=(const TSetFrm&) = delete;

    // Binds the dialog to its window (ShowSetForm does this right after creating the window).
    void FormCreate(ISetView& view);
    void FormDestroy();

    // Shows the highlight image whose name equals name (ASCII letters compared without case) and hides
    // the others; "NUN" hides them all.
    void ShowHoverImage(const AnsiString& name);
    // Gives the entry panel named name (without case) the selected colour, the others the plain one.
    void SelectNavButton(const AnsiString& name);

    // Fills every setting's control from the settings block and the background path (as the settings
    // table pairs them) and keeps the list.
    void LoadData(const TXHBX& settings, TTimerInfos* list, const AnsiString& background = AnsiString());
    // Ticks start at login when the entry names this program.
    void LoadAutoRun();
    // Writes everything; raises on the first write that fails (what was written before stays).
    void SaveAll();
    // Writes the keys of one section of the settings table in table order, each from its control:
    // its marks, its values or both.
    void SaveSection(const char* section, bool marks = true, bool values = true);
    void SaveXHBX();
    // The reminder list page saves nothing.
    void SaveTimerInfos();
    // The XTSZ keys and the start-at-login entry.
    void SaveXTSZ();
    // What the settings file gets for a setting from its control's state now.
    AnsiString FileText(const TSetting& setting) const;
    // True when the period box holds what can be saved: the loaded text untouched, nothing (one
    // minute), or digits (full-width ones too) within the range; otherwise shows PeriodRangeMessage.
    bool CheckPeriod();

    // Events of the window.
    // Any button; strip is img1's place in the coordinates of x, y (empty: no limit to the drag).
    void img1MouseDown(int32_t x, int32_t y, TMouseButton button = TMouseButton::Left, TRect strip = {});
    void img1MouseMove(int32_t x, int32_t y);
    void img1MouseUp();  // any button
    void pnl_leftbtn_xhbxMouseMove();
    void pnl_leftbtn_dsbxMouseMove();
    void pnl_leftbtn_xtszMouseMove();
    void pnl1MouseMove();
    void pnl3MouseMove();
    void img_leftbtn_XHBXClick();
    void img_leftbtn_DSBXClick();
    void img_leftbtn_XTSZClick();
    // Saves everything, then closes the dialog. When the save fails, its message is shown with the
    // question SaveFailedQuestion: OK closes the dialog without saving (Saved stays false), Cancel
    // keeps it open with the user's input.
    void img3Click();
    // A typed character for edt_flashlonger: backspace and digits pass, anything else becomes 0.
    void edt_XHBX_XHZQ1KeyPress(char& key);
    // edt_flashlonger's text changed: outside 0..45 shows the range message and puts back "20"; a
    // text that is no whole number raises the conversion error.
    void edt_flashlongerChange();
    void img_XHBX_FlashClick();
    void edt_BJTPButtonClick();

    // Asked after the message of a save that failed.
    static constexpr const char* SaveFailedQuestion =
        "设置没有保存。是否不保存，直接关闭设置窗口？\n（确定：关闭，正在使用的设置不变；取消：返回设置窗口"
        "）";

    ISetView* View = nullptr;  // not owned
    bool Saved = false;        // the last press of img3 saved everything
    AnsiString LoadedPeriod;   // the period box's text as LoadData filled it
    TFormMove FormMove;
    TTimerInfos* TimerInfos = nullptr;  // not owned
};

// Runs the dialog modally on a copy of the settings and the given reminder list, in a window made by
// owner, centred on monitor (TMainFrm::DialogMonitor; empty: the primary display); true once it has
// closed with its settings saved, false when the user left it without saving (after a save that failed).
bool ShowSetForm(const TXHBX& settings, TTimerInfos* list, IMainView& owner, const TRect& monitor = {});
