#include "app/uMainForm.h"

#include <algorithm>
#include <string>

#include "app/uAppErrors.h"
#include "app/uBannerBrowser.h"
#include "app/uBannerLead.h"
#include "app/uSetFrm.h"
#include "app/uWebBrowserManage.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "settings/uControlObj.h"
#include "settings/uStrings.h"
#include "settings/uSysUtils.h"
#include "settings/uTimerInfo.h"

TMainFrm::TMainFrm() = default;

TMainFrm::~TMainFrm() {
    FormDestroy();
}

// A free-running 1000 ms period drifts against the clock and sees a reminder's minute up to a second
// late; restarted each tick so that it lands just after the next second begins, each tick sees the new
// second within a few milliseconds of its start. Keeping pace (within 50 ms of one second, what a
// coarse timer allows itself anyway) makes a clock that is set, or runs fast under test, be followed
// over a few ticks instead of making the timer race.
int32_t TMainFrm::MsToNextSecond(TDateTime now, bool keepPace) {
    constexpr int kPastTheSecond = 2;  // ms; a tick must never land just before the second it is for
    int hour = 0, minute = 0, second = 0, ms = 0;
    SysUtils::DecodeTime(now, hour, minute, second, ms);
    int wait = 1000 - ms + kPastTheSecond;  // to the start of the next second
    if (keepPace) {
        if (wait < 500) wait += 1000;  // the second after it is nearer the pace
        wait = std::clamp(wait, 950, 1050);
    }
    return wait;
}

void TMainFrm::FormCreate(IMainView& view) {
    if (View) return;
    View = &view;
    View->StartTimer(TMainTimer::Hide, 1);  // ticks from the moment the window is built
    // Each step that fails shows its message and start-up goes on: the scheduler, the check timer
    // and the banner are needed whatever went wrong before them.
    RunStep([this] {
        // Every readable key is taken as stored and each malformed one gets its default; nothing is
        // written until the user saves the settings.
        control_ = TControl::CreateUnloaded(this);
        AppControl = control_.get();
        for (const std::string& message : control_->LoadSettingsTolerant()) ShowErrorMessage(message);
        control_->CheckAutoRun();
    });
    FormMove = TFormMove();
    RunStep([this] { TimerInfos = std::make_unique<TTimerInfos>(); });
    IBannerBrowser* browser = View->BannerBrowser();
    WBManage = std::make_unique<TWBManage>(browser);
    if (browser) browser->OnDownloadComplete = [this] { WebBrowserDownloadComplete(); };

    for (TMainText text :
         {TMainText::ReminderText, TMainText::Clock, TMainText::DateLine, TMainText::AnnouncedAt})
        View->SetCaption(text, AnsiString());
    RunStep([this] { LoadBackground(); });
    View->SetWindowColor(WindowColor);
    RunStep([this] { WriteDateLine(); });
    TimerObj = std::make_unique<TTimerObj>(this);
    RunStep([this] { ApplySettings(); });
    if (control_ && control_->FirstStart) RunStep([this] { img_setClick(); });
    View->StartTimer(TMainTimer::CheckWarn, MsToNextSecond(SysUtils::Now(), false));
    RunStep([this] { ShowAd(); });
    DownloadCount = 0;
}

void TMainFrm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (View && View->BannerBrowser()) View->BannerBrowser()->OnDownloadComplete = nullptr;
    WBManage.reset();
    TimerInfos.reset();
    if (AppControl == control_.get()) AppControl = nullptr;
    control_.reset();
    FormMove.EndMove();
    TimerObj.reset();
}

void TMainFrm::ApplySettings() {
    if (!control_ || !TimerObj) return;
    const TXHBX& s = control_->XHBX;
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

void TMainFrm::TimerCheckWarnTimer() {
    if (!View || !TimerObj) return;
    // Restarted first: a reminder's slide-up runs inside this tick.
    View->StartTimer(TMainTimer::CheckWarn, MsToNextSecond(SysUtils::Now(), true));
    View->SetCaption(TMainText::Clock, SysUtils::FormatDateTime("HH:MM:SS", SysUtils::Now()));
    TimerObj->CheckWarn();
    // Hidden and a reminder near: the banner's page gets ready out of sight; far from one, let go.
    if (WBManage)
        WBManage->ReadyAhead(BannerWantedAhead(*TimerObj, SysUtils::Now(), windowShown_), windowShown_);
}

void TMainFrm::ShowWarnText(const AnsiString& text) {
    if (!View) return;
    View->SetCaption(TMainText::ReminderText, SysUtils::Trim(text));
    View->SetCaption(TMainText::AnnouncedAt,
                     Texts::Gbk("播报时间：") + SysUtils::FormatDateTime("hh:mm:ss", SysUtils::Now()));
}

void TMainFrm::WriteDateLine() {
    const AnsiString date = SysUtils::FormatDateTime(Texts::Gbk("YYYY年MM月DD日"), SysUtils::Now());
    View->SetCaption(TMainText::DateLine, date + " " + (control_ ? control_->GetWeekName() : ""));
}

void TMainFrm::LoadBackground() {
    if (!View || !control_ || control_->BJTP.empty()) return;
    const AnsiString& path = control_->BJTP;
    if (!plat::IsFile(path)) return;  // a missing picture keeps the one shown so far
    const AnsiString quoted = "'" + path + "'";
    std::string bitmap;
    if (!plat::ReadFileBytes(path, bitmap)) throw Exception("Cannot open the background picture " + quoted);
    if (bitmap.compare(0, 2, "BM") != 0)
        throw Exception("The background picture " + quoted + " is not a Windows bitmap");
    if (!View->ShowBackground(bitmap))
        throw Exception("The background picture " + quoted + " is not a valid Windows bitmap");
}

void TMainFrm::ShowAd() {
    if (WBManage) WBManage->ShowAd();
}

void TMainFrm::WebBrowserDownloadComplete() {
    ++DownloadCount;
    IBannerBrowser* browser = View ? View->BannerBrowser() : nullptr;
    if (DownloadCount <= 2 || !browser) return;
    browser->RunDocumentSteps(false, [](const TDocumentSteps& steps) { TWBManage::RaiseStepError(steps); });
}

void TMainFrm::ShowForm() {
    SlideUp(false);
}

// A window the program raises by itself never takes the keyboard: what the user was typing goes on
// arriving where it was going. Only a request of the user's own makes it the active window.
void TMainFrm::SlideUp(bool activate) {
    if (!View) return;
    // A request that arrives while a slide runs starts a fresh slide; the outer one then sees that
    // the window has already come up and stops without moving it again. The full height is the
    // design height, so no nested call can leave a wrong target behind.
    const int serial = ++slideSerial_;
    if (WBManage) WBManage->Blank();
    WriteDateLine();
    const TRect screen = View->ScreenRect();
    PopupHeight = DesignHeight;
    // The slide keeps its own place and height instead of reading the window's back each step: a
    // window system may report an older geometry while messages are pumped, and a step taken from it
    // would end the window a step too high.
    const int32_t left = screen.Right() - DesignWidth - 2;
    int32_t top = screen.Bottom() - 46;
    int32_t height = 16;
    View->PlaceWindow({left, top, DesignWidth, height});
    View->ShowWindow(activate ? TWindowState::ShownActive : TWindowState::Shown);
    windowShown_ = true;
    while (height < PopupHeight + 5) {
        height += 3;
        top -= 3;
        View->PlaceWindow({left, top, DesignWidth, height});
        View->PumpMessages();
        if (serial != slideSerial_ || destroyed_) return;
    }
    View->PlaceWindow({left, top, DesignWidth, DesignHeight});
    PopupHeight = 0;
    ShowAd();
}

bool TMainFrm::WMSysCommand(TSysCommand command) {
    if (command != TSysCommand::Minimize) return false;
    // Checked on each minimise: a notification area may come or go while the program runs.
    if (View->HasTray()) {
        View->ShowTrayIcon(true);
        View->ShowWindow(TWindowState::Hidden);
    } else {
        View->ShowWindow(TWindowState::Minimized);
    }
    windowShown_ = false;
    return true;
}

void TMainFrm::img2Click() {
    if (View) WMSysCommand(TSysCommand::Minimize);
}

void TMainFrm::TimerHideTimer() {
    if (!View) return;
    View->StopTimer(TMainTimer::Hide);
    img2Click();
}

void TMainFrm::TrayIconMessage(TTrayMouse mouse) {
    if (mouse == TTrayMouse::LeftDown) TrayIconClick();
}

void TMainFrm::TrayIconClick() {
    if (!View) return;
    SlideUp(true);
    if (!destroyed_) View->ShowTrayIcon(false);
}

void TMainFrm::img3Click() {
    if (View) View->CloseWindow();
}

void TMainFrm::mni_ExitClick() {
    if (View) View->CloseWindow();
}

void TMainFrm::img_setClick() {
    mni_SetClick();
}

void TMainFrm::mni_SetClick() {
    if (!View || !control_) return;
    if (!ShowSetForm(control_->XHBX, TimerInfos.get(), *View, DialogMonitor())) return;
    control_->LoadSettings();
    ApplySettings();
    if (TimerObj) TimerObj->LastCircle = SysUtils::Now();
    LoadBackground();
}

TRect TMainFrm::DialogMonitor() const {
    if (!View) return {};
    if (!windowShown_) return View->ScreenRect();
    const TRect window = View->WindowRect();
    return View->MonitorRect({window.Left + window.Width / 2, window.Top + window.Height / 2});
}

void TMainFrm::img1MouseDown(int32_t x, int32_t y, TMouseButton button, TRect strip) {
    if (View) FormMove.BeginMove(View, x, y, button, strip);
}

void TMainFrm::img1MouseMove(int32_t x, int32_t y) {
    FormMove.MoveTo(x, y);
}

void TMainFrm::img1MouseUp() {
    FormMove.EndMove();
}
