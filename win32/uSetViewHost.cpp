// Until the Windows program has its settings dialog, the settings command gets a view that shows
// nothing: it keeps the texts and ticks it is given, and its modal showing returns at once, so the
// command ends without writing anything.
#include "win32/uSetViewHost.h"

#include <map>

#include "win32/uWinApp.h"

namespace {
class TNoSetView : public ISetView {
public:
    TRect ScreenRect() const override {
        return {0, 0, WinApp::Unscale(::GetSystemMetrics(SM_CXSCREEN)),
                WinApp::Unscale(::GetSystemMetrics(SM_CYSCREEN))};
    }
    TRect WindowRect() const override { return rect_; }
    void PlaceWindow(const TRect& rect) override { rect_ = rect; }
    TPoint ClientToScreen(TPoint client) const override {
        return {client.X + rect_.Left, client.Y + rect_.Top};
    }
    AnsiString Text(TSetControl control) const override {
        const auto it = texts_.find(control);
        return it == texts_.end() ? AnsiString() : it->second;
    }
    void SetText(TSetControl control, const AnsiString& text) override { texts_[control] = text; }
    bool Checked(TSetControl control) const override {
        const auto it = checked_.find(control);
        return it != checked_.end() && it->second;
    }
    void SetChecked(TSetControl control, bool checked) override { checked_[control] = checked; }
    void SetVisible(TSetControl, bool) override {}
    void SetColor(TSetControl, TColor) override {}
    void ShowPage(TSetPage) override {}
    bool ChooseFile(const TFileChoice&, AnsiString&) override { return false; }
    void ShowModal() override {}
    void CloseModal() override {}

private:
    TRect rect_;
    std::map<TSetControl, AnsiString> texts_;
    std::map<TSetControl, bool> checked_;
};
}  // namespace

std::unique_ptr<ISetView> CreateSetDialogView(TSetFrm&, HWND) {
    return std::make_unique<TNoSetView>();
}
