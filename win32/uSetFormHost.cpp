// The settings command's dialog in the Windows program: the dialog's behaviour (TSetFrm) in the Win32
// settings window (TSetFrmWin), shown over the main window.
#include "win32/uSetFormHost.h"

#include <memory>

#include "app/uMainView.h"
#include "app/uSetFrm.h"
#include "win32/uSetFrmWin.h"

namespace {

// What ShowSetForm asks of the main window: a fresh settings window. The main window of this program
// is not yet a view of the core's behaviour, so this stands in for it; ShowSetForm calls nothing but
// CreateSetView, and the rest answers as a hidden window would.
class TSetFormOwner final : public IMainView {
public:
    explicit TSetFormOwner(HWND owner) : owner_(owner) {}

    std::unique_ptr<ISetView> CreateSetView(TSetFrm& dialog) override {
        return CreateSetFrmWin(dialog, owner_);
    }

    TRect ScreenRect() const override { return {}; }
    TRect WindowRect() const override { return {}; }
    void PlaceWindow(const TRect&) override {}
    TPoint ClientToScreen(TPoint client) const override { return client; }
    void SetCaption(TMainText, const AnsiString&) override {}
    void SetWindowColor(TColor) override {}
    bool ShowBackground(const std::string&) override { return false; }
    void ShowWindow(TWindowState) override {}
    void PumpMessages() override {}
    void CloseWindow() override {}
    bool HasTray() const override { return true; }
    void ShowTrayIcon(bool) override {}
    void StartTimer(TMainTimer, int32_t) override {}
    void StopTimer(TMainTimer) override {}
    IBannerBrowser* BannerBrowser() override { return nullptr; }

private:
    HWND owner_;
};

}  // namespace

bool ShowSetForm(TXHBX settings, TTimerInfos* list, HWND owner) {
    TSetFormOwner host(owner);
    return ShowSetForm(std::move(settings), list, host);
}
