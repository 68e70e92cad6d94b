#pragma once
// The main window of the Windows program: a small borderless, always-on-top pop-up without a taskbar
// button that lives hidden in the tray, keeps the clock, runs the scheduler once a second and slides
// up at the bottom right when a reminder fires.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/uTimerObj.h"
#include "platform/Types.h"
#include "win32/uFormMove.h"
#include "win32/uTrayIcon.h"
#include "win32/uWinControls.h"
#include "win32/uWinForm.h"

class IBannerBrowser;
class TTimerInfos;
class TWBManage;

class TMainFrm : public TWinForm, public IWarnWindow {
public:
    // Client size the window is designed for (96 dpi); the slide always ends at this size.
    static constexpr int DesignWidth = 442;
    static constexpr int DesignHeight = 259;
    static constexpr const char* ClassName = "TMainFrm";

    // handleMade: told the window's handle as soon as it exists, before start-up runs (a later start
    // can then reach the window even while the first start's dialogs are open).
    explicit TMainFrm(const std::function<void(HWND)>& handleMade = {});
    ~TMainFrm() override;

    void ApplySettings();
    void TimerCheckWarnTimer();
    void ShowWarnText(const AnsiString& text) override;
    void ShowForm() override;
    void LoadBackground();
    void ShowAd();
    // The banner's download completions; from the third on the page's scroll bars are hidden again.
    void WebBrowserDownloadComplete();

    void img_setClick();
    void mni_SetClick();
    void img2Click();
    void img3Click();
    void mni_ExitClick();
    void TimerHideTimer();
    void TrayIconClick();
    // A later start of the program asked for the window (see plat::SingleInstance).
    void ShowRequested();
    // The registered message a later start posts to bring the window up.
    static UINT ShowRequestMessage();

    // Owned helpers.
    std::unique_ptr<TFormMove> FormMove;
    TTimerInfos* TimerInfos = nullptr;
    TTimerObj* TimerObj = nullptr;
    std::unique_ptr<TTrayIcon> TrayData;
    std::unique_ptr<IBannerBrowser> WebBrowser;  // the banner's browser over Panel2; none without one
    std::unique_ptr<TWBManage> WBManage;

    int32_t PopupHeight = 0;    // the full height while a slide runs; 0 otherwise
    int32_t DownloadCount = 0;  // banner download completions since start

    // Elements (owned by the element tree through these members).
    std::unique_ptr<TPanel> pnl_TOP, pnl_TOP_CLIENT, pnl_TOP_R1, pnl_TOP_R2, pnl_TOP_R3, Panel1, Panel2;
    std::unique_ptr<TImage> img1, img_set, img2, img3, img4, img_BJTP;
    std::unique_ptr<TLabel> lbl_1, lbl_2, lbl_3, lbl_BBSJ;
    HMENU pm_set = nullptr;
    static constexpr UINT mni_Set = 1;
    static constexpr UINT mni_Exit = 2;
    static constexpr UINT_PTR TimerCheckWarn = 1;
    static constexpr UINT_PTR TimerHide = 2;

protected:
    void Resized(int width, int height) override;

private:
    void CreateControls();
    void Wire();
    void FormCreate();
    void FormDestroy();
    void LayoutControls(int designWidth, int designHeight);
    void SetCaption(TLabel& label, const char* name, const AnsiString& text);
    void WriteDateLine();
    void StartCheckTimer(bool keepPace);

    HICON icon_ = nullptr;
    int slideSerial_ = 0;         // counts slides started, so an outer slide notices one that ran inside it
    bool created_ = false;        // FormCreate has finished
    bool showRequested_ = false;  // a later start asked for the window while it was being built
    bool destroyed_ = false;
};

// The single main window.
extern TMainFrm* MainFrm;
