#include "win32/uMainFrmWin.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/uMainForm.h"
#include "app/uMainFormLook.h"
#include "app/uMainFrmLayout.h"
#include "platform/windows/ShowRequest.h"
#include "settings/uStrings.h"
#include "win32/uBannerHost.h"
#include "win32/uDibFile.h"
#include "win32/uE2EDump.h"
#include "win32/uMainLayoutWin.h"
#include "win32/uResourceIds.h"
#include "win32/uSetViewHost.h"
#include "win32/uWinApp.h"
#include "win32/uWinEvents.h"
#include "win32/uWinText.h"

namespace {
constexpr UINT_PTR kTimerCheckWarn = 1;
constexpr UINT_PTR kTimerHide = 2;

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
    banner_ = CreateBannerHost(Handle(), Panel2->DeviceRect(), MainFrmLayout::Find("WebBrowser")->Bounds);
}

TMainFrmWin::~TMainFrmWin() {
    banner_.reset();
    while (!LayoutElements.empty()) LayoutElements.pop_back();  // children before their parents
    if (tray_ && tray_->Present()) tray_->Remove();
    if (pm_set) ::DestroyMenu(pm_set);
}

UINT TMainFrmWin::ShowRequestMessage() {
    return plat::win::ShowRequestMessage();
}

void TMainFrmWin::StartupFinished() {
    started_ = true;
    if (showRequested_) ::PostMessageA(Handle(), ShowRequestMessage(), 0, 0);
}

void TMainFrmWin::CreateControls() {
    // One element per row of the layout; the members point at them by name.
    LayoutElements = BuildMainLayout(Root());
    const auto find = [this]<typename T>(T*& member, const char* name) {
        member = dynamic_cast<T*>(LayoutElements[MainLayoutIndex(name)].get());
    };
    find(pnl_TOP, "pnl_TOP");
    find(pnl_TOP_CLIENT, "pnl_TOP_CLIENT");
    find(img1, "img1");
    find(lbl_3, "lbl_3");
    find(img_set, "img_set");
    find(pnl_TOP_R1, "pnl_TOP_R1");
    find(img2, "img2");
    find(pnl_TOP_R2, "pnl_TOP_R2");
    find(img3, "img3");
    find(pnl_TOP_R3, "pnl_TOP_R3");
    find(img4, "img4");
    find(Panel1, "Panel1");
    find(img_BJTP, "img_BJTP");
    find(lbl_1, "lbl_1");
    find(lbl_2, "lbl_2");
    find(lbl_BBSJ, "lbl_BBSJ");
    find(Panel2, "Panel2");
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
    ::AppendMenuW(pm_set, MF_STRING, mni_Set,
                  WinText::WideFromUtf8(MainFrmLayout::SetCommandCaption).c_str());
    ::AppendMenuW(pm_set, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(pm_set, MF_STRING, mni_Exit,
                  WinText::WideFromUtf8(MainFrmLayout::ExitCommandCaption).c_str());
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

// Places the elements for the current size.
void TMainFrmWin::LayoutControls(int w, int h) {
    Root().SetBounds(0, 0, w, h);
    PlaceMainLayout(LayoutElements, w, h);
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
