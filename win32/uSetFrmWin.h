#pragma once
// The settings dialog of the Windows program: a borderless, always-on-top window laid out at 703 x 341
// design pixels (scaled by the system's DPI) with the title strip, the green navigation column and the
// three pages. It draws and forwards; every decision is the dialog's behaviour (TSetFrm, app/uSetFrm.h).
//
// Panels, labels and pictures are elements of the form (uWinControls.h); edits, check boxes and time
// editors are child windows of the form, so their notifications reach WndProc.
#include <windows.h>

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "app/uSetView.h"
#include "win32/uWinControls.h"
#include "win32/uWinForm.h"

class TSetFrm;

class TSetFrmWin : public TWinFormView<ISetView> {
public:
    static constexpr const char* ClassName = "TSetFrm";

    // A hidden dialog whose events go to dialog; owner (may be null) is disabled while it is modal.
    TSetFrmWin(TSetFrm& dialog, HWND owner);
    ~TSetFrmWin() override;

    // ISetView
    AnsiString Text(TSetControl control) const override;
    void SetText(TSetControl control, const AnsiString& text) override;
    bool Checked(TSetControl control) const override;
    void SetChecked(TSetControl control, bool checked) override;
    void SetVisible(TSetControl control, bool visible) override;
    void SetColor(TSetControl control, TColor color) override;
    void ShowPage(TSetPage page) override;
    bool ChooseFile(const TFileChoice& choice, AnsiString& path) override;
    void ShowModal() override;
    void CloseModal() override;

    // The page in front (for tests).
    TSetPage Page() const { return page_; }
    // The child window of a control, null for one drawn as an element (tests drive them).
    HWND Window(TSetControl control) const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    enum class TKind { Edit, Check, Time };
    struct TChild {
        HWND Handle = nullptr;
        TKind Kind = TKind::Edit;
        int Page = -1;        // index of its page, -1 for none
        bool Hidden = false;  // lies in the hidden animation group: never shown
    };

    void CreateElements();
    void CreateChildren();
    HWND AddChild(TElement& parent, const wchar_t* cls, DWORD style, int x, int y, int w, int h,
                  const char* utf8Text, int page, bool hidden, int id = 0);
    void AddControl(TSetControl control, TKind kind, HWND handle, int page, bool hidden);
    TLabel& AddLabel(TElement& parent, int x, int y, const char* utf8Text, int pixels = 12,
                     bool bold = false);
    LRESULT ColorChild(HDC dc);
    static LRESULT CALLBACK FlashLongerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    TSetFrm& dialog_;
    HWND owner_;
    bool modal_ = false;
    TSetPage page_ = TSetPage::tsdsbx;  // the stored active page, until the behaviour picks one
    HFONT font_ = nullptr;              // "宋体" 12 pixels, for the child windows
    HBRUSH pageBrush_ = nullptr;        // page colour behind check boxes
    WNDPROC flashLongerProc_ = nullptr;

    std::vector<std::unique_ptr<TElement>> elements_;  // in creation order, parents first
    std::map<TSetControl, TElement*> drawn_;           // panels and images the behaviour addresses
    std::map<TSetControl, TChild> children_;
    std::vector<HWND> pageWindows_[3];  // child windows shown with each page
    TElement* pages_[3] = {nullptr, nullptr, nullptr};
    std::map<std::string_view, TElement*> built_;  // the pages and drawn group boxes by name
    HWND edt_BJTP_button_ = nullptr;
};
