#pragma once
// The main window's behaviour: start-up and its order, the settings copied into the scheduler, the
// once-a-second tick, the reminder's texts, the slide up at the bottom right, the tray round trip, the
// settings command and the banner's download count. It draws nothing itself: it tells its window what
// to show through IMainView, and the window forwards its events to the handlers below.
//
// A frontend builds it like this:
//     TMainFrm form;              // the behaviour, not yet bound to a window
//     MyMainView view(form);      // the window (hidden), forwarding its events to form
//     form.FormCreate(view);      // the start-up steps
//     ... run the message loop ...
//     // the window's destruction runs form.FormDestroy() while the view still exists
#include <cstdint>
#include <memory>

#include "app/uFormMove.h"
#include "app/uMainView.h"
#include "app/uTimerObj.h"
#include "platform/Types.h"

class TControl;
class TTimerInfos;
class TWBManage;

class TMainFrm : public IWarnWindow {
public:
    // The window's client size; the slide always ends at this size.
    static constexpr int32_t DesignWidth = 442;
    static constexpr int32_t DesignHeight = 259;
    // Window colour set at start: RGB(186, 244, 0).
    static constexpr TColor WindowColor = 62650;

    TMainFrm();
    ~TMainFrm() override;  // runs FormDestroy if the window has not
    TMainFrm(const TMainFrm&) = delete;
    TMainFrm& operator=(const TMainFrm&) = delete;

    // Start-up, against the window it is bound to: starts the hide timer, loads the configuration
    // (on the first start it offers start at login), the reminder list and the banner manager, clears
    // the texts, loads the background, writes the date line, creates the scheduler and applies the
    // settings, runs the settings command on the first start, then starts the clock and asks for the
    // first banner page. A step that fails shows its message and start-up goes on.
    void FormCreate(IMainView& view);
    // Frees the banner manager, the reminder list, the configuration, the drag and the scheduler, in
    // this order. Runs once; later calls do nothing.
    void FormDestroy();

    // Copies the configuration into the scheduler.
    void ApplySettings();
    // Once a second: the clock, then the scheduler's test.
    void TimerCheckWarnTimer();
    // Writes the trimmed reminder text and the announcement time.
    void ShowWarnText(const AnsiString& text) override;
    // A reminder: blanks the banner, writes the date line and slides the window up at the bottom right
    // of the screen, three pixels a step, pumping messages after each; then shows the next banner page.
    // The window comes up on top without taking the keyboard from the window the user works in.
    void ShowForm() override;
    // Loads the configured background bitmap, if the setting names an existing file; raises when that
    // file is not a Windows bitmap.
    void LoadBackground();
    void ShowAd();
    // Each banner download that finished, stopped or failed; from the third on the page's scroll bars
    // are hidden again.
    void WebBrowserDownloadComplete();

    // Events of the window.
    void img_setClick();  // the settings picture: the settings command
    void mni_SetClick();  // the settings command itself: dialog, reload, re-apply, restart the period
    void img2Click();     // minimise: to the tray (or the taskbar where there is no tray)
    void img3Click();     // close: ends the program
    void mni_ExitClick();
    void TimerHideTimer();  // once, right after start: minimise
    // A system command; true when it was handled here (minimise), false when the system's default
    // handling is to run.
    bool WMSysCommand(TSysCommand command);
    // What the mouse did on the tray icon: a left press brings the window up.
    void TrayIconMessage(TTrayMouse mouse);
    // A left press on the tray icon (or a second start asking the running copy to show itself):
    // slides the window up as ShowForm does, as the active window (the user asked for it), then takes
    // the icon out of the tray.
    void TrayIconClick();
    // Any button; strip is img1's place in the coordinates of x, y (empty: no limit to the drag).
    void img1MouseDown(int32_t x, int32_t y, TMouseButton button = TMouseButton::Left, TRect strip = {});
    void img1MouseMove(int32_t x, int32_t y);
    void img1MouseUp();  // any button

    // The window; null before FormCreate.
    IMainView* View = nullptr;
    // Owned parts (created by FormCreate, freed by FormDestroy). The configuration is control_ below,
    // published as the global AppControl while it lives.
    TFormMove FormMove;
    std::unique_ptr<TTimerInfos> TimerInfos;
    std::unique_ptr<TWBManage> WBManage;
    std::unique_ptr<TTimerObj> TimerObj;

    int32_t PopupHeight = 0;    // the full height while a slide runs; 0 otherwise
    int32_t DownloadCount = 0;  // banner download completions since start

    // The interval that puts the clock's next tick just after the start of one of the clock's seconds,
    // at the time of day now. keepPace keeps it within 950..1050 ms (once the clock runs).
    static int32_t MsToNextSecond(TDateTime now, bool keepPace);

    // The monitor the settings dialog opens centred on: the one that holds the main window's centre
    // while the window is up, the primary display while it waits in the tray.
    TRect DialogMonitor() const;

private:
    void WriteDateLine();
    void SlideUp(bool activate);
    std::unique_ptr<TControl> control_;
    int slideSerial_ = 0;  // counts slides started, so an outer slide notices one that ran inside it
    bool destroyed_ = false;
    bool windowShown_ = false;  // up on the screen (not hidden in the tray nor minimised)
};
