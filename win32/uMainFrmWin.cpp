#include "win32/uMainFrmWin.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/uMainForm.h"
#include "app/uMainFormLook.h"
#include "settings/uStrings.h"
#include "win32/uBannerHost.h"
#include "win32/uDibFile.h"
#include "win32/uE2EDump.h"
#include "win32/uResourceIds.h"
#include "win32/uSetViewHost.h"
#include "win32/uWinApp.h"
#include "win32/uWinEvents.h"
#include "win32/uWinText.h"

namespace {
constexpr COLORREF kTitleStripColor = MainFormLook::TitleStripColor;
constexpr COLORREF kContentColor = MainFormLook::ContentColor;
constexpr COLORREF kClockColor = MainFormLook::ClockColor;
constexpr int kTitleHeight = MainFormLook::TitleHeight;
constexpr int kBannerHeight = MainFormLook::BannerHeight;
constexpr BYTE kGb2312 = 134;
constexpr UINT_PTR kTimerCheckWarn = 1;
constexpr UINT_PTR kTimerHide = 2;

TFontSpec Font(const char* utf8Face, BYTE charSet, int pixels, bool bold, COLORREF color) {
    return TFontSpec{Texts::Gbk(utf8Face), charSet, pixels, bold, color};
}

UINT_PTR TimerId(TMainTimer timer) {
    return timer == TMainTimer::CheckWarn ? kTimerCheckWarn : kTimerHide;
}
}  // namespace

TMainFrmWin::TMainFrmWin(TMainFrm& form, const std::function<void(HWND)>& handleMade) : form_(form) {
    icon_ = static_cast<HICON>(::LoadImageA(WinApp::Instance(), MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 0,
                                            0, LR_DEFAULTSIZE | LR_SHARED));
    // A tool window has no taskbar button; WS_POPUP: no border and no caption.
    Create(ClassName, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_CLIPCHILDREN, WinApp::Title,
           TMainFrm::DesignWidth, TMainFrm::DesignHeight, icon_);
    if (handleMade) handleMade(Handle());
    tray_ = std::make_unique<TTrayIcon>(Handle(), icon_);
    CreateControls();
    Wire();
    banner_ = CreateBannerHost(Handle(), Panel2->DeviceRect());
}

TMainFrmWin::~TMainFrmWin() {
    banner_.reset();
    if (tray_ && tray_->Present()) tray_->Remove();
    if (pm_set) ::DestroyMenu(pm_set);
}

UINT TMainFrmWin::ShowRequestMessage() {
    static const UINT message = ::RegisterWindowMessageA("Chimewick.ShowWindow");
    return message;
}

void TMainFrmWin::StartupFinished() {
    started_ = true;
    if (showRequested_) ::PostMessageA(Handle(), ShowRequestMessage(), 0, 0);
}

void TMainFrmWin::CreateControls() {
    const COLORREF buttonFace = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);

    pnl_TOP = std::make_unique<TPanel>(&Root(), buttonFace);
    pnl_TOP_CLIENT = std::make_unique<TPanel>(pnl_TOP.get(), kTitleStripColor);
    img1 = std::make_unique<TImage>(pnl_TOP_CLIENT.get());
    lbl_3 = std::make_unique<TLabel>(pnl_TOP_CLIENT.get(), Font("宋体", ANSI_CHARSET, 12, true, windowText));
    img_set = std::make_unique<TImage>(pnl_TOP_CLIENT.get());
    pnl_TOP_R1 = std::make_unique<TPanel>(pnl_TOP.get(), kTitleStripColor);
    img2 = std::make_unique<TImage>(pnl_TOP_R1.get());
    pnl_TOP_R2 = std::make_unique<TPanel>(pnl_TOP.get(), kTitleStripColor);
    img3 = std::make_unique<TImage>(pnl_TOP_R2.get());
    pnl_TOP_R3 = std::make_unique<TPanel>(pnl_TOP.get(), kTitleStripColor);
    img4 = std::make_unique<TImage>(pnl_TOP_R3.get());

    Panel1 = std::make_unique<TPanel>(&Root(), kContentColor);
    img_BJTP = std::make_unique<TImage>(Panel1.get());  // first: lowest of the panel's elements
    lbl_1 = std::make_unique<TLabel>(Panel1.get(), Font("楷体_GB2312", kGb2312, 16, true, windowText));
    lbl_1->AutoSize = false;
    lbl_1->WordWrap = true;
    lbl_2 = std::make_unique<TLabel>(Panel1.get(), Font("Cambria", ANSI_CHARSET, 48, true, kClockColor));
    lbl_BBSJ = std::make_unique<TLabel>(Panel1.get(), Font("楷体_GB2312", kGb2312, 16, true, windowText));

    Panel2 = std::make_unique<TPanel>(&Root(), buttonFace);

    for (TImage* button : {img_set.get(), img2.get(), img3.get()})
        button->Cursor = MAKEINTRESOURCEA(32649);  // hand
    img_set->SetPicture(LoadResourceBitmap(IDB_SETTINGS));
    img2->SetPicture(LoadResourceBitmap(IDB_MINIMISE));
    img3->SetPicture(LoadResourceBitmap(IDB_CLOSE));

    // Fixed places of the elements that neither stretch nor follow an edge.
    lbl_3->SetBounds(15, 5, 35, 12);
    img2->SetBounds(0, 0, 23, 22);
    img3->SetBounds(0, 0, 25, 22);  // one pixel wider than its panel, as designed
    lbl_2->SetBounds(8, 1, 196, 56);
    lbl_BBSJ->SetBounds(8, 65, 68, 16);
    LayoutControls(TMainFrm::DesignWidth, TMainFrm::DesignHeight);

    // The strip's mouse events in 96-dpi client coordinates (img1 starts at the client's origin).
    img1->OnMouseDown = [this](TMouseButton button, int x, int y) {
        form_.img1MouseDown(WinApp::Unscale(x), WinApp::Unscale(y), button,
                            {0, 0, img1->Width(), img1->Height()});
    };
    img1->OnMouseMove = [this](int x, int y) { form_.img1MouseMove(WinApp::Unscale(x), WinApp::Unscale(y)); };
    img1->OnMouseUp = [this](TMouseButton, int, int) { form_.img1MouseUp(); };
    img_set->OnClick = [this] { form_.img_setClick(); };
    img2->OnClick = [this] { form_.img2Click(); };
    img3->OnClick = [this] { form_.img3Click(); };

    pm_set = ::CreatePopupMenu();
    ::AppendMenuW(pm_set, MF_STRING, mni_Set, WinText::WideFromUtf8("设置(&S)").c_str());
    ::AppendMenuW(pm_set, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(pm_set, MF_STRING, mni_Exit, WinText::WideFromUtf8("退出(&E)").c_str());
}

void TMainFrmWin::Wire() {
    On(WM_TIMER, [this](WPARAM id, LPARAM) -> LRESULT {
        if (id == kTimerCheckWarn) form_.TimerCheckWarnTimer();
        if (id == kTimerHide) form_.TimerHideTimer();
        return 0;
    });
    On(TTrayIcon::CallbackMessage, [this](WPARAM, LPARAM mouse) -> LRESULT {
        form_.TrayIconMessage(WinEvents::TrayMouse(mouse));
        return 0;
    });
    On(WM_SYSCOMMAND, [this](WPARAM command, LPARAM lParam) -> LRESULT {
        if (!form_.WMSysCommand(WinEvents::SysCommand(command)))
            ::DefWindowProcA(Handle(), WM_SYSCOMMAND, command, lParam);
        return 0;
    });
    On(TTrayIcon::TaskbarCreatedMessage(), [this](WPARAM, LPARAM) -> LRESULT {
        tray_->ShellRestarted();
        return 0;
    });
    On(ShowRequestMessage(), [this](WPARAM, LPARAM) -> LRESULT {
        if (started_) {
            form_.TrayIconClick();
        } else {
            showRequested_ = true;
        }
        return 0;
    });
    On(WM_COMMAND, [this](WPARAM command, LPARAM) -> LRESULT {
        if (LOWORD(command) == mni_Set) form_.mni_SetClick();
        if (LOWORD(command) == mni_Exit) form_.mni_ExitClick();
        return 0;
    });
    On(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
        ::DestroyWindow(Handle());
        return 0;
    });
    On(WM_DESTROY, [this](WPARAM, LPARAM) -> LRESULT {
        ::KillTimer(Handle(), kTimerCheckWarn);
        ::KillTimer(Handle(), kTimerHide);
        // Not left behind in the notification area until the pointer passes over it.
        if (tray_->Present()) tray_->Remove();
        form_.FormDestroy();
        ::PostQuitMessage(0);
        return 0;
    });
}

void TMainFrmWin::Resized(int width, int height) {
    LayoutControls(WinApp::Unscale(width), WinApp::Unscale(height));
}

// Places the strips and the elements that follow the window's edges for the current size.
void TMainFrmWin::LayoutControls(int w, int h) {
    Root().SetBounds(0, 0, w, h);
    pnl_TOP->SetBounds(0, 0, w, kTitleHeight);
    pnl_TOP_R3->SetBounds(w - 9, 0, 9, kTitleHeight);
    pnl_TOP_R2->SetBounds(w - 9 - 24, 0, 24, kTitleHeight);
    pnl_TOP_R1->SetBounds(w - 9 - 24 - 26, 0, 26, kTitleHeight);
    const int clientWidth = std::max(0, w - 59);
    pnl_TOP_CLIENT->SetBounds(0, 0, clientWidth, kTitleHeight);
    img1->SetBounds(0, 0, clientWidth, kTitleHeight);
    img_set->SetBounds(clientWidth - 25, 0, 22, 22);
    img4->SetBounds(0, 0, 9, kTitleHeight);

    Panel2->SetBounds(0, h - kBannerHeight, w, kBannerHeight);
    const int contentHeight = std::max(0, h - kTitleHeight - kBannerHeight);
    Panel1->SetBounds(0, kTitleHeight, w, contentHeight);
    img_BJTP->SetBounds(0, 0, w, contentHeight);
    // lbl_1 keeps its margins to all four edges of the panel (8 left, 12 right, 8 bottom).
    lbl_1->SetBounds(8, 88, std::max(0, w - 20), std::max(0, contentHeight - 96));
}

TRect TMainFrmWin::MonitorRect(TPoint point) const {
    const POINT p{WinApp::Scale(point.X), WinApp::Scale(point.Y)};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(::MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info)) return ScreenRect();
    const RECT& r = info.rcMonitor;
    return {WinApp::Unscale(r.left), WinApp::Unscale(r.top), WinApp::Unscale(r.right - r.left),
            WinApp::Unscale(r.bottom - r.top)};
}

void TMainFrmWin::SetCaption(TMainText text, const AnsiString& caption) {
    switch (text) {
        case TMainText::ReminderText:
            lbl_1->SetCaption(caption);
            E2EDump::Set("lbl_1", caption);
            break;
        case TMainText::Clock:
            lbl_2->SetCaption(caption);
            E2EDump::Set("lbl_2", caption);
            break;
        case TMainText::DateLine:
            lbl_3->SetCaption(caption);
            E2EDump::Set("lbl_3", caption);
            break;
        case TMainText::AnnouncedAt:
            lbl_BBSJ->SetCaption(caption);
            E2EDump::Set("lbl_BBSJ", caption);
            break;
    }
}

void TMainFrmWin::SetWindowColor(TColor color) {
    SetColor(color);  // a stored colour is a COLORREF
}

bool TMainFrmWin::ShowBackground(const std::string& bitmap) {
    HBITMAP picture = DibFile::Create(bitmap);
    if (!picture) return false;
    img_BJTP->SetPicture(picture);
    img_BJTP->SendToBack();  // beneath the labels
    return true;
}

void TMainFrmWin::ShowWindow(TWindowState state) {
    switch (state) {
        case TWindowState::Hidden:
            ::ShowWindow(Handle(), SW_HIDE);
            break;
        case TWindowState::Minimized:
            ::ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
            break;
        case TWindowState::Shown:
            // In front of other windows and staying on top, without taking the activation (and with it
            // the keyboard) from the window the user works in.
            ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
            ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            E2EDump::Set("hwnd", std::to_string(reinterpret_cast<std::uintptr_t>(Handle())));
            break;
        case TWindowState::ShownActive:
            ::ShowWindow(Handle(), SW_SHOW);
            ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            ::SetForegroundWindow(Handle());
            E2EDump::Set("hwnd", std::to_string(reinterpret_cast<std::uintptr_t>(Handle())));
            break;
    }
}

void TMainFrmWin::PumpMessages() {
    RepaintNow();
    WinApp::ProcessMessages();
}

void TMainFrmWin::CloseWindow() {
    ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

bool TMainFrmWin::HasTray() const {
    // Windows always has a notification area (Explorer's, or the one a shell replacement offers; an
    // icon added before a shell runs is added again on its TaskbarCreated message).
    return true;
}

void TMainFrmWin::ShowTrayIcon(bool shown) {
    if (shown) {
        tray_->Add();
    } else {
        tray_->Remove();
    }
}

void TMainFrmWin::StartTimer(TMainTimer timer, int32_t ms) {
    ::SetTimer(Handle(), TimerId(timer), static_cast<UINT>(std::max<int32_t>(ms, USER_TIMER_MINIMUM)),
               nullptr);
}

void TMainFrmWin::StopTimer(TMainTimer timer) {
    ::KillTimer(Handle(), TimerId(timer));
}

IBannerBrowser* TMainFrmWin::BannerBrowser() {
    return banner_.get();
}

std::unique_ptr<ISetView> TMainFrmWin::CreateSetView(TSetFrm& dialog) {
    return CreateSetDialogView(dialog, Handle());
}
