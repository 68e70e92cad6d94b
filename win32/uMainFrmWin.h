#pragma once
// The main window of the Windows program: the view of the core's main-window behaviour (TMainFrm,
// app/uMainForm.h) drawn with plain Win32. A borderless pop-up (WS_POPUP), always on top and without a
// taskbar button (a tool window), laid out at its 96-dpi design size scaled by the system DPI. It
// decides nothing: it shows what the behaviour tells it and forwards every event to it.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/uMainView.h"
#include "win32/uTrayIcon.h"
#include "win32/uWinControls.h"
#include "win32/uWinForm.h"

class TMainFrm;

class TMainFrmWin : public TWinFormView<IMainView> {
public:
    static constexpr const char* ClassName = "TMainFrm";

    // Builds the hidden window for form. handleMade is told the window's handle as soon as it exists
    // (a later start of the program can then reach the window, even while start-up's dialogs are open).
    TMainFrmWin(TMainFrm& form, const std::function<void(HWND)>& handleMade = {});
    ~TMainFrmWin() override;

    // Start-up has finished: a request to come up that arrived meanwhile is answered now.
    void StartupFinished();
    // The registered message a later start posts to bring the window up.
    static UINT ShowRequestMessage();

    // IMainView (96-dpi pixels, converted here to and from the screen's)
    TRect MonitorRect(TPoint point) const override;
    void SetCaption(TMainText text, const AnsiString& caption) override;
    void SetWindowColor(TColor color) override;
    bool ShowBackground(const std::string& bitmap) override;
    void ShowWindow(TWindowState state) override;
    void PumpMessages() override;
    void CloseWindow() override;
    bool HasTray() const override;
    void ShowTrayIcon(bool shown) override;
    void StartTimer(TMainTimer timer, int32_t ms) override;
    void StopTimer(TMainTimer timer) override;
    IBannerBrowser* BannerBrowser() override;
    std::unique_ptr<ISetView> CreateSetView(TSetFrm& dialog) override;

    // Elements, named as in the window's layout.
    TPanel *pnl_TOP = nullptr, *pnl_TOP_CLIENT = nullptr, *pnl_TOP_R1 = nullptr, *pnl_TOP_R2 = nullptr,
           *pnl_TOP_R3 = nullptr, *Panel1 = nullptr, *Panel2 = nullptr;
    TImage *img1 = nullptr, *img_set = nullptr, *img2 = nullptr, *img3 = nullptr, *img4 = nullptr,
           *img_BJTP = nullptr;
    TLabel *lbl_1 = nullptr, *lbl_2 = nullptr, *lbl_3 = nullptr, *lbl_BBSJ = nullptr;
    // Every element of the window's layout (app/uMainFrmLayout.h), in the order of its rows; owns them.
    std::vector<std::unique_ptr<TElement>> LayoutElements;
    // The pop-up menu with its two commands; nothing opens it.
    HMENU pm_set = nullptr;
    static constexpr UINT mni_Set = 1;
    static constexpr UINT mni_Exit = 2;

protected:
    void Resized(int width, int height) override;

private:
    void CreateControls();
    void Wire();
    void LayoutControls(int designWidth, int designHeight);

    TMainFrm& form_;
    HICON icon_ = nullptr;
    std::unique_ptr<TTrayIcon> tray_;
    std::unique_ptr<IBannerBrowser> banner_;
    bool started_ = false;        // start-up has finished
    bool showRequested_ = false;  // a later start asked for the window before that
};
