#include "win32/uMainForm.h"

#include <algorithm>
#include <string>

#include "app/uWebBrowserManage.h"
#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "settings/uControlObj.h"
#include "settings/uStrings.h"
#include "settings/uSysUtils.h"
#include "settings/uTimerInfo.h"
#include "win32/uBannerHost.h"
#include "win32/uE2EDump.h"
#include "win32/uResourceIds.h"
#include "win32/uSetFormHost.h"
#include "win32/uWinApp.h"
#include "win32/uWinText.h"

TMainFrm* MainFrm = nullptr;

namespace {
constexpr COLORREF kTitleStripColor = 16776176;  // RGB(240, 251, 255)
constexpr COLORREF kContentColor = 15915206;     // RGB(198, 216, 242)
constexpr COLORREF kWindowColor = 62650;         // RGB(186, 244, 0)
constexpr COLORREF kClockColor = 16711680;       // RGB(0, 0, 255)
constexpr int kTitleHeight = 22;
constexpr int kBannerHeight = 90;
constexpr BYTE kGb2312 = 134;

TFontSpec Font(const char* utf8Face, BYTE charSet, int pixels, bool bold, COLORREF color) {
    return TFontSpec{Texts::Gbk(utf8Face), charSet, pixels, bold, color};
}

// The design size of a device length, rounded to the nearest pixel.
int Unscale(int devicePixels) {
    return ::MulDiv(devicePixels, 96, WinApp::Dpi());
}
}  // namespace

TMainFrm::TMainFrm(const std::function<void(HWND)>& handleMade) {
    MainFrm = this;
    icon_ = static_cast<HICON>(::LoadImageA(WinApp::Instance(), MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 0,
                                            0, LR_DEFAULTSIZE | LR_SHARED));
    // A tool window has no taskbar button; WS_POPUP: no border and no caption.
    Create(ClassName, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_CLIPCHILDREN, WinApp::Title,
           DesignWidth, DesignHeight, icon_);
    if (handleMade) handleMade(Handle());
    TrayData = std::make_unique<TTrayIcon>(Handle(), icon_);
    CreateControls();
    Wire();
    ::SetTimer(Handle(), TimerHide, 1, nullptr);  // enabled from the moment the window is built
    FormCreate();
    created_ = true;
    if (showRequested_) ::PostMessageA(Handle(), ShowRequestMessage(), 0, 0);
}

TMainFrm::~TMainFrm() {
    FormDestroy();
    if (pm_set) ::DestroyMenu(pm_set);
    if (MainFrm == this) MainFrm = nullptr;
}

UINT TMainFrm::ShowRequestMessage() {
    static const UINT message = ::RegisterWindowMessageA("Chimewick.ShowWindow");
    return message;
}

void TMainFrm::CreateControls() {
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
    LayoutControls(DesignWidth, DesignHeight);

    img1->OnMouseDown = [this](TMouseButton, int x, int y) { FormMove->BeginMove(Handle(), x, y); };
    img1->OnMouseMove = [this](int x, int y) { FormMove->MoveTo(x, y); };
    img1->OnMouseUp = [this](TMouseButton, int, int) { FormMove->EndMove(); };
    img_set->OnClick = [this] { img_setClick(); };
    img2->OnClick = [this] { img2Click(); };
    img3->OnClick = [this] { img3Click(); };

    // The menu exists with its two commands, though nothing opens it.
    pm_set = ::CreatePopupMenu();
    ::AppendMenuW(pm_set, MF_STRING, mni_Set, WinText::WideFromUtf8("设置(&S)").c_str());
    ::AppendMenuW(pm_set, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(pm_set, MF_STRING, mni_Exit, WinText::WideFromUtf8("退出(&E)").c_str());
}

void TMainFrm::Wire() {
    On(WM_TIMER, [this](WPARAM id, LPARAM) -> LRESULT {
        if (id == TimerCheckWarn) TimerCheckWarnTimer();
        if (id == TimerHide) TimerHideTimer();
        return 0;
    });
    On(TTrayIcon::CallbackMessage, [this](WPARAM, LPARAM mouse) -> LRESULT {
        if (mouse == WM_LBUTTONDOWN) TrayIconClick();  // every other mouse message is ignored
        return 0;
    });
    On(WM_SYSCOMMAND, [this](WPARAM command, LPARAM lParam) -> LRESULT {
        // The low four bits of the command belong to the system.
        if ((command & 0xFFF0) == SC_MINIMIZE) {
            TrayData->Add();
            ::ShowWindow(Handle(), SW_HIDE);
        } else {
            ::DefWindowProcA(Handle(), WM_SYSCOMMAND, command, lParam);
        }
        return 0;
    });
    On(TTrayIcon::TaskbarCreatedMessage(), [this](WPARAM, LPARAM) -> LRESULT {
        TrayData->ShellRestarted();
        return 0;
    });
    On(ShowRequestMessage(), [this](WPARAM, LPARAM) -> LRESULT {
        ShowRequested();
        return 0;
    });
    On(WM_COMMAND, [this](WPARAM command, LPARAM) -> LRESULT {
        if (LOWORD(command) == mni_Set) mni_SetClick();
        if (LOWORD(command) == mni_Exit) mni_ExitClick();
        return 0;
    });
    On(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
        ::DestroyWindow(Handle());
        return 0;
    });
    On(WM_DESTROY, [this](WPARAM, LPARAM) -> LRESULT {
        ::KillTimer(Handle(), TimerCheckWarn);
        ::KillTimer(Handle(), TimerHide);
        // Not left behind in the notification area until the pointer passes over it.
        if (TrayData && TrayData->Present()) TrayData->Remove();
        FormDestroy();
        ::PostQuitMessage(0);
        return 0;
    });
}

void TMainFrm::Resized(int width, int height) {
    LayoutControls(Unscale(width), Unscale(height));
}

// Places the strips and the elements that follow the window's edges for the current size.
void TMainFrm::LayoutControls(int w, int h) {
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

void TMainFrm::FormCreate() {
    // Each step that fails shows its message and start-up goes on: the scheduler, the check timer
    // and the banner are needed whatever went wrong before them.
    WinApp::RunStep([this] {
        // Every readable key is taken as stored and each malformed one gets its default; nothing is
        // written until the user saves the settings.
        AppControl = TControl::CreateUnloaded(this).release();
        for (const std::string& message : AppControl->LoadSettingsTolerant())
            WinApp::ShowErrorMessage(message);
        AppControl->CheckAutoRun();
    });
    FormMove = std::make_unique<TFormMove>();
    WinApp::RunStep([this] { TimerInfos = new TTimerInfos(); });
    WebBrowser = CreateBannerHost(Handle(), Panel2->DeviceRect());
    if (WebBrowser) WebBrowser->OnDownloadComplete = [this] { WebBrowserDownloadComplete(); };
    WBManage = std::make_unique<TWBManage>(WebBrowser.get());
    SetCaption(*lbl_1, "lbl_1", AnsiString());
    SetCaption(*lbl_2, "lbl_2", AnsiString());
    SetCaption(*lbl_3, "lbl_3", AnsiString());
    SetCaption(*lbl_BBSJ, "lbl_BBSJ", AnsiString());
    WinApp::RunStep([this] { LoadBackground(); });
    SetColor(kWindowColor);
    WinApp::RunStep([this] { WriteDateLine(); });
    TimerObj = new TTimerObj(this);
    WinApp::RunStep([this] { ApplySettings(); });
    if (AppControl && AppControl->FirstStart) WinApp::RunStep([this] { img_setClick(); });
    StartCheckTimer(false);
    WinApp::RunStep([this] { ShowAd(); });
    DownloadCount = 0;
}

void TMainFrm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    WBManage.reset();
    WebBrowser.reset();
    delete TimerInfos;
    TimerInfos = nullptr;
    delete AppControl;
    AppControl = nullptr;
    FormMove.reset();
    delete TimerObj;
    TimerObj = nullptr;
}

void TMainFrm::ApplySettings() {
    const TXHBX& s = AppControl->XHBX;
    // Minutes times 60 taken in 32 bits: a period above 35791 minutes wraps round instead of being
    // undefined, and a result below 1 second leaves the cyclic reminder off.
    const auto seconds = static_cast<int32_t>(static_cast<uint32_t>(s.xhzq) * 60u);
    TimerObj->Circle_Time = s.startXHBJ ? static_cast<double>(seconds) : 0.0;
    TimerObj->OnTime_Time = s.startDSBJ ? s.OnTime : -1.0;
    TimerObj->OnTime2_Time = s.startDSBJ2 ? s.OnTime2 : -1.0;
    TimerObj->OnTime3_Time = s.startDSBJ3 ? s.OnTime3 : -1.0;
    TimerObj->WarnForm_Content = s.txnr;
    TimerObj->OnTime_Content = s.OnTimeTxnr;
    TimerObj->OnTime2_Content = s.OnTimeTxnr2;
    TimerObj->OnTime3_Content = s.OnTimeTxnr3;
}

// Restarts the check timer so that its next tick comes just after one of the clock's seconds begins,
// so a reminder's minute is seen within a few milliseconds of its start. keepPace: stay within 50 ms
// of one second, so a clock that is set, or runs fast under test, is followed over a few ticks.
void TMainFrm::StartCheckTimer(bool keepPace) {
    constexpr int kPastTheSecond = 2;  // ms; the tick must never land just before the second it is for
    int hour = 0, minute = 0, second = 0, ms = 0;
    SysUtils::DecodeTime(SysUtils::Now(), hour, minute, second, ms);
    int wait = 1000 - ms + kPastTheSecond;
    if (keepPace) {
        if (wait < 500) wait += 1000;
        wait = std::clamp(wait, 950, 1050);
    }
    ::SetTimer(Handle(), TimerCheckWarn, static_cast<UINT>(wait), nullptr);
}

void TMainFrm::TimerCheckWarnTimer() {
    StartCheckTimer(true);  // first: a reminder's slide-up runs inside this tick
    SetCaption(*lbl_2, "lbl_2", SysUtils::FormatDateTime("HH:MM:SS", SysUtils::Now()));
    TimerObj->CheckWarn();
}

void TMainFrm::ShowWarnText(const AnsiString& text) {
    SetCaption(*lbl_1, "lbl_1", SysUtils::Trim(text));
    SetCaption(*lbl_BBSJ, "lbl_BBSJ",
               Texts::Gbk("播报时间：") + SysUtils::FormatDateTime("hh:mm:ss", SysUtils::Now()));
}

void TMainFrm::WriteDateLine() {
    const AnsiString date = SysUtils::FormatDateTime(Texts::Gbk("YYYY年MM月DD日"), SysUtils::Now());
    SetCaption(*lbl_3, "lbl_3", date + " " + AppControl->GetWeekName());
}

void TMainFrm::SetCaption(TLabel& label, const char* name, const AnsiString& text) {
    label.SetCaption(text);
    E2EDump::Set(name, text);
}

void TMainFrm::LoadBackground() {
    if (!AppControl || AppControl->BJTP.empty()) return;
    const std::string& path = AppControl->BJTP;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    auto* bitmap = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) throw Exception("The background picture '" + path + "' is not a valid Windows bitmap");
    img_BJTP->SetPicture(bitmap);
    img_BJTP->SendToBack();  // beneath the labels
}

void TMainFrm::ShowAd() {
    if (WBManage) WBManage->ShowAd();
}

void TMainFrm::WebBrowserDownloadComplete() {
    ++DownloadCount;
    if (DownloadCount <= 2 || !WebBrowser) return;
    WebBrowser->RunDocumentSteps(false,
                                 [](const TDocumentSteps& steps) { TWBManage::RaiseStepError(steps); });
}

void TMainFrm::ShowForm() {
    // A request that arrives while a slide runs starts a fresh slide; the outer one then sees that
    // the window has already come up and stops without moving it again.
    const int serial = ++slideSerial_;
    if (WBManage) WBManage->Blank();
    WriteDateLine();
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
    const int width = WinApp::Scale(DesignWidth);
    const int fullHeight = WinApp::Scale(DesignHeight);
    PopupHeight = fullHeight;
    const int step = WinApp::Scale(3);
    const int left = screenW - width - WinApp::Scale(2);
    int top = screenH - WinApp::Scale(46);
    int height = WinApp::Scale(16);
    ::SetWindowPos(Handle(), HWND_TOPMOST, left, top, width, height, SWP_NOACTIVATE);
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    ::SetForegroundWindow(Handle());
    E2EDump::Set("hwnd", std::to_string(reinterpret_cast<std::uintptr_t>(Handle())));
    while (height < PopupHeight + WinApp::Scale(5)) {
        height += step;
        top -= step;
        SetScreenRect(left, top, width, height);
        RepaintNow();
        if (!WinApp::ProcessMessages()) return;
        if (serial != slideSerial_ || destroyed_) return;
    }
    SetScreenRect(left, top, width, fullHeight);
    PopupHeight = 0;
    ShowAd();
}

void TMainFrm::img2Click() {
    ::SendMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TMainFrm::TimerHideTimer() {
    ::KillTimer(Handle(), TimerHide);
    img2Click();
}

void TMainFrm::TrayIconClick() {
    ShowForm();
    if (!destroyed_) TrayData->Remove();
}

void TMainFrm::ShowRequested() {
    if (!created_) {
        showRequested_ = true;  // answered once start-up has finished
        return;
    }
    TrayIconClick();
}

void TMainFrm::img3Click() {
    ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TMainFrm::mni_ExitClick() {
    ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TMainFrm::img_setClick() {
    mni_SetClick();
}

void TMainFrm::mni_SetClick() {
    if (!ShowSetForm(AppControl->XHBX, TimerInfos)) return;
    AppControl->LoadSettings();
    ApplySettings();
    TimerObj->LastCircle = SysUtils::Now();
    LoadBackground();
}
