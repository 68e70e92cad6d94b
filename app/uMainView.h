#pragma once
// What the main window can be told or asked: the list of what a toolkit must do for the main window's
// behaviour (TMainFrm, app/uMainForm.h). The view lays the window out at its design size (442 x 259:
// title strip, content panel, banner strip), draws it, and forwards the user's and the system's events
// to the behaviour, unchanged and without deciding anything:
//
//   click on img_set (settings picture)        TMainFrm::img_setClick
//   click on img2 (minimise picture)           TMainFrm::img2Click
//   click on img3 (close picture)              TMainFrm::img3Click
//   mouse down / move / up on img1 (the strip)  TMainFrm::img1MouseDown / img1MouseMove / img1MouseUp
//   a tick of a timer started here             TMainFrm::TimerCheckWarnTimer / TimerHideTimer
//   a system command (a minimise asked for     TMainFrm::WMSysCommand; when it returns false the
//     by the system or the window manager)       view lets the system's default handling run
//   the mouse on the tray icon                 TMainFrm::TrayIconMessage (or TrayIconClick for a
//                                                toolkit that reports only left clicks)
//   the window is being destroyed               TMainFrm::FormDestroy
//
// Everything is called on the GUI thread. An error raised by a forwarded call goes to the frontend's
// application-wide handler (ShowErrorMessage in app/uAppErrors.h).
#include <cstdint>
#include <memory>
#include <string>

#include "app/uWindowView.h"
#include "platform/Types.h"

class IBannerBrowser;
class ISetView;
class TSetFrm;

// The texts of the main window.
enum class TMainText {
    ReminderText,  // lbl_1: the reminder's text, wrapped in its 422 x 51 box, the rest cut off
    Clock,         // lbl_2: the large running clock
    DateLine,      // lbl_3: the date and weekday in the title strip
    AnnouncedAt,   // lbl_BBSJ: "播报时间：" and the time the reminder was announced
};

// How the window stands on the desktop.
enum class TWindowState {
    Hidden,     // not on the screen and without a taskbar entry (it waits in the tray)
    Minimized,  // minimised with a taskbar entry (where there is no tray to wait in)
    // On the screen, not minimised, in front of other windows and staying on top, without taking the
    // keyboard: the window the user works in stays the active one and keeps every key (a reminder).
    Shown,
    // The same, and the window becomes the active one (the user asked for it).
    ShownActive,
};

// A system command the window received, named for what it asks.
enum class TSysCommand {
    Minimize,  // minimise the window (the system's window menu, a key, the window manager)
    Other,     // anything else: the system's default handling runs
};

// What the mouse did on the tray icon.
enum class TTrayMouse {
    LeftDown,  // the left button pressed
    Other,     // moves, the other buttons, releases, double clicks
};

// The main window's two timers.
enum class TMainTimer {
    CheckWarn,  // the clock and reminder test (TimerCheckWarnTimer)
    Hide,       // the one-shot hide right after start (TimerHideTimer)
};

class IMainView : public IWindowView {
public:
    // Writes one of the window's texts (GBK). A label that sizes itself to its text does so.
    virtual void SetCaption(TMainText text, const AnsiString& caption) = 0;
    // The colour of the window itself, seen where no strip covers it.
    virtual void SetWindowColor(TColor color) = 0;
    // Draws the picture in the content panel, beneath the texts, stretched over the panel and with
    // every pixel of the picture's bottom-left pixel's colour left out. bitmap is the whole content of
    // a Windows bitmap (.bmp) file. False, with the picture shown so far kept, when it cannot be drawn.
    virtual bool ShowBackground(const std::string& bitmap) = 0;
    // Hides, minimises or shows the window.
    virtual void ShowWindow(TWindowState state) = 0;
    // Repaints the window at once, then handles every message waiting for the program (ticks, clicks,
    // tray presses) before it returns. Used between the steps of the slide.
    virtual void PumpMessages() = 0;
    // Closes the main window, which ends the program once the current event has been handled.
    virtual void CloseWindow() = 0;

    // The full monitor (not its work area) that holds the point, or the nearest one, in screen pixels.
    virtual TRect MonitorRect(TPoint point) const = 0;

    // Whether a notification area is there to hold the icon right now.
    virtual bool HasTray() const = 0;
    // Puts the program's icon (tip "Chimewick") into the notification area or takes it out; showing it
    // twice leaves one icon.
    virtual void ShowTrayIcon(bool shown) = 0;

    // Starts the timer, or restarts it with a new interval: from now on it ticks every ms milliseconds
    // (to within a few milliseconds; not coalesced) until it is stopped.
    virtual void StartTimer(TMainTimer timer, int32_t ms) = 0;
    virtual void StopTimer(TMainTimer timer) = 0;

    // The browser whose page fills the banner strip, shown from the page's (16, 16) onwards; owned by
    // the view, null when the program has none. Right clicks and context-menu requests on the page are
    // swallowed by the view (TWBManage::IsMenuMessage says which).
    virtual IBannerBrowser* BannerBrowser() = 0;

    // Builds a fresh, hidden settings dialog (703 x 341, laid out with all its pages) whose events go
    // to dialog. The behaviour shows it modally and frees it when it has closed.
    virtual std::unique_ptr<ISetView> CreateSetView(TSetFrm& dialog) = 0;
};
