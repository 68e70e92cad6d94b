#include "win32/uSetFrmWin.h"

#include <windows.h>
// windows.h first: the common controls and dialogs build on it.
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/uAppErrors.h"
#include "app/uSetFrm.h"
#include "app/uSetFrmLayout.h"
#include "app/uSetFrmLook.h"
#include "settings/uStrings.h"
#include "win32/uE2EDump.h"
#include "win32/uResourceIds.h"
#include "win32/uWinApp.h"
#include "win32/uWinText.h"

namespace {

constexpr COLORREF kTitleStripColor = SetFrmLook::TitleStripColor;
constexpr COLORREF kPageColor = SetFrmLook::PageColor;
constexpr int kTitleHeight = 22;
constexpr int kEntryHeight = 41;
constexpr int kBjtpButtonId = 200;
constexpr int kBrowseWidth = 20;  // the browse button at a path box's right end
constexpr int kFirstControlId = 100;
// The page control's pages lie 4 pixels in from its sides and 5 from its top and bottom.
constexpr int kPageLeft = 4;
constexpr int kPageTop = 5;
constexpr int kPageWidth = 555;
constexpr int kPageHeight = 303;

std::wstring Utf8Wide(const char* utf8) {
    return WinText::WideFromUtf8(utf8);
}

// UTF-16 from a child window as GBK, the way the model holds text.
AnsiString Narrow(const std::wstring& wide) {
    if (wide.empty()) return AnsiString();
    const int n = ::WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                        nullptr, nullptr);
    AnsiString gbk(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(), n, nullptr,
                          nullptr);
    return gbk;
}

std::wstring WindowText(HWND hwnd) {
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

HFONT CreateDialogFont(int pixels, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = -WinApp::Scale(pixels);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    const std::wstring face = Utf8Wide("宋体");
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&lf);
}

// The highlight bar of a navigation entry: a glossy green bar on the column's colour, 159 x 38. The
// corners keep the column's colour, which the image leaves out (its bottom-left pixel).
HBITMAP HighlightBarBitmap() {
    constexpr int w = 159;
    constexpr int h = 38;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all{0, 0, w, h};
    ::SetDCBrushColor(dc, SetFrmLook::NavColor);
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    HRGN round = ::CreateRoundRectRgn(0, 0, w + 1, h + 1, 6, 6);
    ::SelectClipRgn(dc, round);
    // Light top half, the base colour from the middle, a little darker at the bottom.
    const auto vertex = [](int x, int y, int r, int g, int b) {
        return TRIVERTEX{
            x, y, static_cast<COLOR16>(r << 8), static_cast<COLOR16>(g << 8), static_cast<COLOR16>(b << 8),
            0};
    };
    TRIVERTEX v[4] = {vertex(0, 0, 0xB4, 0xE0, 0xA0), vertex(w, h / 2, 0x7C, 0xC4, 0x5C),
                      vertex(0, h / 2, 0x5C, 0xB0, 0x3C), vertex(w, h, 0x4E, 0x98, 0x33)};
    GRADIENT_RECT rects[2] = {{0, 1}, {2, 3}};
    ::GdiGradientFill(dc, v, 4, rects, 2, GRADIENT_FILL_RECT_V);
    ::SelectClipRgn(dc, nullptr);
    HBRUSH frame = ::CreateSolidBrush(RGB(0x3C, 0x7A, 0x28));
    ::FrameRgn(dc, round, frame, 1, 1);
    ::DeleteObject(frame);
    ::DeleteObject(round);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

// The close picture: a glossy red square with a white power symbol, drawn at the size it is shown
// (width x height device pixels) on the title strip's colour, which the image leaves out.
HBITMAP PowerBitmap(int w, int h) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all{0, 0, w, h};
    ::SetDCBrushColor(dc, kTitleStripColor);
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    const int side = std::min(w, h) - 2;
    const int x0 = (w - side) / 2;
    const int y0 = (h - side) / 2;
    HRGN square = ::CreateRoundRectRgn(x0, y0, x0 + side + 1, y0 + side + 1, side / 4, side / 4);
    ::SelectClipRgn(dc, square);
    TRIVERTEX v[2] = {{x0, y0, 0xF000, 0x6000, 0x5000, 0}, {x0 + side, y0 + side, 0xB000, 0x1000, 0x1000, 0}};
    GRADIENT_RECT rect{0, 1};
    ::GdiGradientFill(dc, v, 2, &rect, 1, GRADIENT_FILL_RECT_V);
    ::SelectClipRgn(dc, nullptr);
    HBRUSH frame = ::CreateSolidBrush(RGB(0x90, 0x10, 0x10));
    ::FrameRgn(dc, square, frame, 1, 1);
    ::DeleteObject(frame);
    ::DeleteObject(square);
    // The symbol: a ring open at the top and a bar through the opening.
    const int cx = x0 + side / 2;
    const int cy = y0 + side / 2 + side / 20;
    const int r = std::max(2, side * 3 / 10);
    HPEN pen = ::CreatePen(PS_SOLID, std::max(1, side / 10), RGB(255, 255, 255));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    ::Arc(dc, cx - r, cy - r, cx + r + 1, cy + r + 1, cx - r / 2, cy - r, cx + r / 2, cy - r);
    ::MoveToEx(dc, cx, cy - r - std::max(1, side / 12), nullptr);
    ::LineTo(dc, cx, cy);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

// A group box drawn as an element: an etched frame with its caption on the page's colour.
class TGroupFrame : public TElement {
public:
    TGroupFrame(TElement* parent, HFONT font, const char* utf8Caption)
        : TElement(parent), font_(font), caption_(Utf8Wide(utf8Caption)) {}

    void Paint(HDC dc, const RECT& rect) const override {
        HGDIOBJ old = ::SelectObject(dc, font_);
        SIZE text{0, 0};
        ::GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
        RECT frame = rect;
        frame.top += text.cy / 2;
        ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        const int left = rect.left + WinApp::Scale(8);
        RECT behind{left - 2, rect.top, left + text.cx + 2, rect.top + text.cy};
        ::SetDCBrushColor(dc, kPageColor);
        ::FillRect(dc, &behind, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::TextOutW(dc, left, rect.top, caption_.c_str(), static_cast<int>(caption_.size()));
        ::SelectObject(dc, old);
    }

private:
    HFONT font_;  // the dialog's
    std::wstring caption_;
};

int PageIndex(TSetPage page) {
    return static_cast<int>(page);
}

int PageIndex(std::string_view page) {
    if (page == "tsxhbx") return PageIndex(TSetPage::tsxhbx);
    if (page == "tsdsbx") return PageIndex(TSetPage::tsdsbx);
    return PageIndex(TSetPage::tsxtsz);
}

}  // namespace

TSetFrmWin::TSetFrmWin(TSetFrm& dialog, HWND owner) : dialog_(dialog), owner_(owner) {
    font_ = CreateDialogFont(12, false);
    pageBrush_ = ::CreateSolidBrush(kPageColor);
    // No border and no caption; on top of other windows. Owned by the main window: no taskbar button
    // of its own, and it stays above its owner. The title names it in the task list.
    const auto icon = static_cast<HICON>(::LoadImageA(WinApp::Instance(), MAKEINTRESOURCEA(IDI_MAINICON),
                                                      IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    Create(ClassName, WS_EX_TOPMOST, WS_POPUP | WS_CLIPCHILDREN, Texts::Gbk("设置"), TSetFrm::DesignWidth,
           TSetFrm::DesignHeight, icon, owner);
    TWinForm::SetColor(kPageColor);
    CreateElements();
    CreateChildren();
    ShowPage(page_);
}

TSetFrmWin::~TSetFrmWin() {
    if (modal_ && owner_) ::EnableWindow(owner_, TRUE);
    if (Handle()) ::DestroyWindow(Handle());  // the child windows go with it, before the font
    children_.clear();
    // Children first: each element unhooks itself from its parent.
    while (!elements_.empty()) elements_.pop_back();
    if (font_) ::DeleteObject(font_);
    if (pageBrush_) ::DeleteObject(pageBrush_);
}

// ---- layout ----------------------------------------------------------------------------------------

TLabel& TSetFrmWin::AddLabel(TElement& parent, int x, int y, const char* utf8Text, int pixels, bool bold) {
    auto label = std::make_unique<TLabel>(
        &parent, TFontSpec{Texts::Gbk("宋体"), ANSI_CHARSET, pixels, bold, ::GetSysColor(COLOR_WINDOWTEXT)});
    label->SetBounds(x, y, 0, 0);
    label->SetCaption(Texts::Gbk(utf8Text));
    TLabel& result = *label;
    elements_.push_back(std::move(label));
    return result;
}

void TSetFrmWin::CreateElements() {
    using C = TSetControl;
    const auto panel = [this](TElement& parent, COLORREF color, int x, int y, int w, int h) -> TPanel& {
        auto p = std::make_unique<TPanel>(&parent, color);
        p->SetBounds(x, y, w, h);
        TPanel& result = *p;
        elements_.push_back(std::move(p));
        return result;
    };
    const auto image = [this](TElement& parent, int x, int y, int w, int h) -> TImage& {
        auto i = std::make_unique<TImage>(&parent);
        i->SetBounds(x, y, w, h);
        TImage& result = *i;
        elements_.push_back(std::move(i));
        return result;
    };
    const LPCSTR hand = MAKEINTRESOURCEA(32649);

    // Title strip: pnl3, covered by pnl_TOP, which holds the close picture on the right and the drag
    // area with the caption on the left.
    TPanel& pnl3 = panel(Root(), kTitleStripColor, 0, 0, TSetFrm::DesignWidth, kTitleHeight);
    pnl3.OnMouseMove = [this](int, int) { dialog_.pnl3MouseMove(); };
    TPanel& pnl_TOP = panel(pnl3, ::GetSysColor(COLOR_BTNFACE), 0, 0, TSetFrm::DesignWidth, kTitleHeight);
    TPanel& pnl_TOP_R2 = panel(pnl_TOP, kTitleStripColor, 676, 0, 27, kTitleHeight);
    TImage& img3 = image(pnl_TOP_R2, 0, 0, 25, kTitleHeight);
    img3.SetPicture(PowerBitmap(WinApp::Scale(25), WinApp::Scale(kTitleHeight)));
    img3.Cursor = hand;
    img3.OnClick = [this] { dialog_.img3Click(); };
    TPanel& pnl_TOP_CLIENT = panel(pnl_TOP, kTitleStripColor, 0, 0, 676, kTitleHeight);
    TImage& img1 = image(pnl_TOP_CLIENT, 0, 0, 676, kTitleHeight);
    img1.OnMouseDown = [this, &img1](TMouseButton button, int x, int y) {
        dialog_.img1MouseDown(WinApp::Unscale(x), WinApp::Unscale(y), button,
                              {0, 0, img1.Width(), img1.Height()});
    };
    img1.OnMouseMove = [this](int x, int y) {
        dialog_.img1MouseMove(WinApp::Unscale(x), WinApp::Unscale(y));
    };
    img1.OnMouseUp = [this](TMouseButton, int, int) { dialog_.img1MouseUp(); };
    TLabel& lbl_3 = AddLabel(pnl_TOP_CLIENT, 15, 7, "参数设置", 12, true);
    // The caption lies above the drag area and takes the mouse itself: pressing on it drags nothing.
    lbl_3.OnMouseDown = [](TMouseButton, int, int) {};

    // Navigation column: the entries stack from the top; a hidden entry takes no room.
    TPanel& pnl1 =
        panel(Root(), SetFrmLook::NavColor, 0, kTitleHeight, 137, TSetFrm::DesignHeight - kTitleHeight);
    pnl1.OnMouseMove = [this](int, int) { dialog_.pnl1MouseMove(); };
    HBITMAP bar = HighlightBarBitmap();
    struct TEntry {
        C Panel;
        C Image;
        const char* Caption;
        bool Shown;
        void (TSetFrm::*Move)();
        void (TSetFrm::*Click)();
    };
    const TEntry entries[] = {
        {C::pnl_leftbtn_xhbx, C::img_leftbtn_XHBX, "提醒设置", true, &TSetFrm::pnl_leftbtn_xhbxMouseMove,
         &TSetFrm::img_leftbtn_XHBXClick},
        {C::pnl_leftbtn_dsbx, C::img_leftbtn_DSBX, "定时报醒", false, &TSetFrm::pnl_leftbtn_dsbxMouseMove,
         &TSetFrm::img_leftbtn_DSBXClick},
        {C::pnl_leftbtn_xtsz, C::img_leftbtn_XTSZ, "系统设置", true, &TSetFrm::pnl_leftbtn_xtszMouseMove,
         &TSetFrm::img_leftbtn_XTSZClick},
    };
    int top = 0;
    for (const TEntry& entry : entries) {
        TPanel& p = panel(pnl1, SetFrmLook::NavColor, 0, top, 137, kEntryHeight);
        p.SetVisible(entry.Shown);
        if (entry.Shown) top += kEntryHeight;
        const auto move = entry.Move;
        const auto click = entry.Click;
        p.OnMouseMove = [this, move](int, int) { (dialog_.*move)(); };
        // The highlight picture fills its entry and lies beneath the caption.
        TImage& i = image(p, 0, 0, 137, kEntryHeight);
        i.SetPicture(static_cast<HBITMAP>(::CopyImage(bar, IMAGE_BITMAP, 0, 0, 0)));
        i.SetVisible(false);
        i.Cursor = hand;
        i.OnClick = [this, click] { (dialog_.*click)(); };
        TLabel& caption = AddLabel(p, 35, 14, entry.Caption, 14, true);
        caption.Cursor = hand;
        caption.OnClick = [this, click] { (dialog_.*click)(); };
        drawn_[entry.Panel] = &p;
        drawn_[entry.Image] = &i;
    }
    ::DeleteObject(bar);

    // Page area: green bars above, right of and below the page control.
    TPanel& pnl2 = panel(Root(), kPageColor, 137, kTitleHeight, 566, TSetFrm::DesignHeight - kTitleHeight);
    panel(pnl2, SetFrmLook::NavColor, 0, 0, 566, 3);
    panel(pnl2, SetFrmLook::NavColor, 563, 3, 3, 313);
    panel(pnl2, SetFrmLook::NavColor, 0, 316, 566, 3);
    TPanel& pgc1 = panel(pnl2, kPageColor, 0, 3, 563, 313);
    for (TElement*& page : pages_) {
        page = &panel(pgc1, kPageColor, kPageLeft, kPageTop, kPageWidth, kPageHeight);
        page->SetVisible(false);
    }

    // Page tsdsbx: the reminder list's page is laid out empty; nothing on it has any behaviour.
    TElement& tsdsbx = *pages_[PageIndex(TSetPage::tsdsbx)];
    panel(tsdsbx, kPageColor, 0, 0, kPageWidth, kPageHeight);

    // The pages' group boxes and captions from the layout table; a hidden group and its captions are
    // not drawn at all (its boxes are still made, below).
    built_ = {{"tsxhbx", pages_[PageIndex(TSetPage::tsxhbx)]},
              {"tsdsbx", pages_[PageIndex(TSetPage::tsdsbx)]},
              {"tsxtsz", pages_[PageIndex(TSetPage::tsxtsz)]}};
    for (const SetFrmLayout::TControl& row : SetFrmLayout::Controls()) {
        if (SetFrmLayout::HiddenFor(row)) continue;
        TElement& parent = *built_.at(row.Parent);
        if (row.Kind == SetFrmLayout::TKind::Group) {
            auto group = std::make_unique<TGroupFrame>(&parent, font_, row.Text);
            group->SetBounds(row.Bounds.Left, row.Bounds.Top, row.Bounds.Width, row.Bounds.Height);
            built_[row.Name] = group.get();
            elements_.push_back(std::move(group));
        } else if (row.Kind == SetFrmLayout::TKind::Label) {
            AddLabel(parent, row.Bounds.Left, row.Bounds.Top, row.Text);
        }
    }
}

HWND TSetFrmWin::AddChild(TElement& parent, const wchar_t* cls, DWORD style, int x, int y, int w, int h,
                          const char* utf8Text, int page, bool hidden, int id) {
    const RECT origin = parent.FormRect();
    const int left = WinApp::Scale(origin.left + x);
    const int top = WinApp::Scale(origin.top + y);
    HWND hwnd = ::CreateWindowExW(
        0, cls, Utf8Wide(utf8Text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, left, top,
        WinApp::Scale(origin.left + x + w) - left, WinApp::Scale(origin.top + y + h) - top, Handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), WinApp::Instance(), nullptr);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (page >= 0 && !hidden) pageWindows_[page].push_back(hwnd);
    return hwnd;
}

void TSetFrmWin::AddControl(TSetControl control, TKind kind, HWND handle, int page, bool hidden) {
    children_[control] = TChild{handle, kind, page, hidden};
}

void TSetFrmWin::CreateChildren() {
    using SetFrmLayout::TKind;
    const DWORD tab = WS_TABSTOP;
    const DWORD check = BS_AUTOCHECKBOX | BS_VCENTER | tab;
    const DWORD edit = WS_BORDER | ES_AUTOHSCROLL | tab;
    const DWORD time = DTS_TIMEFORMAT | tab;  // hours and minutes, with up-down arrows
    // The layout table's boxes in tab order (the hidden animation group first: it is never shown, but
    // its boxes are filled and read like the others).
    for (const SetFrmLayout::TControl* row : SetFrmLayout::TabOrder()) {
        const std::optional<TSetControl> control = SetFrmLayout::ControlOf(row->Name);
        if (!control) continue;
        // A hidden group is not drawn: its boxes lie on its parent, moved by its place.
        int x = row->Bounds.Left;
        int y = row->Bounds.Top;
        const char* parentName = row->Parent;
        while (built_.find(parentName) == built_.end()) {
            const SetFrmLayout::TControl* group = SetFrmLayout::Find(parentName);
            x += group->Bounds.Left;
            y += group->Bounds.Top;
            parentName = group->Parent;
        }
        TElement& parent = *built_.at(parentName);
        const int page = PageIndex(SetFrmLayout::PageOf(*row));
        const bool hidden = SetFrmLayout::HiddenFor(*row);
        const int id = kFirstControlId + static_cast<int>(*control);
        int w = row->Bounds.Width;
        const int h = row->Bounds.Height;
        TSetFrmWin::TKind kind = TSetFrmWin::TKind::Edit;
        HWND hwnd = nullptr;
        switch (row->Kind) {
            case TKind::Check:
                kind = TSetFrmWin::TKind::Check;
                hwnd = AddChild(parent, L"BUTTON", check, x, y, w, h, row->Text, page, hidden, id);
                break;
            case TKind::Number:
                // Whole minutes only, right-aligned, as many digits as the behaviour allows.
                hwnd = AddChild(parent, L"EDIT", edit | ES_NUMBER | ES_RIGHT, x, y, w, h, row->Text, page,
                                hidden, id);
                ::SendMessageW(hwnd, EM_LIMITTEXT, TSetFrm::PeriodDigits, 0);
                break;
            case TKind::Time:
                kind = TSetFrmWin::TKind::Time;
                hwnd = AddChild(parent, DATETIMEPICK_CLASSW, time, x, y, w, h, "", page, hidden, id);
                ::SendMessageW(hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
                break;
            case TKind::ButtonEdit:
                // The browse button takes the right end of the box's rectangle.
                w -= kBrowseWidth;
                hwnd = AddChild(parent, L"EDIT", edit, x, y, w, h, row->Text, page, hidden, id);
                edt_BJTP_button_ = AddChild(parent, L"BUTTON", BS_PUSHBUTTON | BS_FLAT | tab, x + w, y,
                                            kBrowseWidth, h, "…", page, hidden, kBjtpButtonId);
                break;
            default:
                hwnd = AddChild(parent, L"EDIT", edit, x, y, w, h, row->Text, page, hidden, id);
                break;
        }
        AddControl(*control, kind, hwnd, page, hidden);
        if (kind == TSetFrmWin::TKind::Time) SetText(*control, row->Text);
    }

    // Typed characters pass the behaviour's key filter first.
    HWND flashLonger = Window(TSetControl::edt_flashlonger);
    ::SetWindowLongPtrW(flashLonger, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    flashLongerProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(flashLonger, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FlashLongerProc)));
}

// ---- ISetView --------------------------------------------------------------------------------------

HWND TSetFrmWin::Window(TSetControl control) const {
    const auto it = children_.find(control);
    return it == children_.end() ? nullptr : it->second.Handle;
}

AnsiString TSetFrmWin::Text(TSetControl control) const {
    const auto it = children_.find(control);
    if (it == children_.end()) return AnsiString();
    const TChild& child = it->second;
    if (child.Kind == TKind::Time) {
        SYSTEMTIME st{};
        ::SendMessageW(child.Handle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        char text[8];
        std::snprintf(text, sizeof text, "%02u:%02u", static_cast<unsigned>(st.wHour % 24),
                      static_cast<unsigned>(st.wMinute % 60));
        return text;
    }
    return Narrow(WindowText(child.Handle));
}

void TSetFrmWin::SetText(TSetControl control, const AnsiString& text) {
    const auto it = children_.find(control);
    if (it == children_.end()) return;
    const TChild& child = it->second;
    if (child.Kind == TKind::Time) {
        unsigned hour = 0;
        unsigned minute = 0;
        if (std::sscanf(text.c_str(), "%2u:%2u", &hour, &minute) != 2) return;
        SYSTEMTIME st{};
        ::GetLocalTime(&st);  // a day the picker accepts; only the time of day is shown
        st.wHour = static_cast<WORD>(hour % 24);
        st.wMinute = static_cast<WORD>(minute % 60);
        st.wSecond = 0;
        st.wMilliseconds = 0;
        ::SendMessageW(child.Handle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
        return;
    }
    // Only a new text counts as a change (the edit would report one for the same text too).
    if (Text(control) == text) return;
    ::SetWindowTextW(child.Handle, WinText::Wide(text).c_str());
}

bool TSetFrmWin::Checked(TSetControl control) const {
    const HWND hwnd = Window(control);
    return hwnd && ::SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TSetFrmWin::SetChecked(TSetControl control, bool checked) {
    if (const HWND hwnd = Window(control))
        ::SendMessageW(hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    // What the dialog found in the registry, for the end-to-end view.
    if (control == TSetControl::chk_KJQD) E2EDump::Set("chk_KJQD", checked ? "1" : "0");
}

void TSetFrmWin::SetVisible(TSetControl control, bool visible) {
    const auto it = drawn_.find(control);
    if (it != drawn_.end()) it->second->SetVisible(visible);
}

void TSetFrmWin::SetColor(TSetControl control, TColor color) {
    const auto it = drawn_.find(control);
    if (it == drawn_.end()) return;
    if (auto* panel = dynamic_cast<TPanel*>(it->second)) panel->SetColor(color);
}

void TSetFrmWin::ShowPage(TSetPage page) {
    page_ = page;
    const int shown = PageIndex(page);
    for (int i = 0; i < 3; ++i) {
        pages_[i]->SetVisible(i == shown);
        for (HWND hwnd : pageWindows_[i]) ::ShowWindow(hwnd, i == shown ? SW_SHOWNA : SW_HIDE);
    }
    static const char* const names[] = {"tsxhbx", "tsdsbx", "tsxtsz"};
    E2EDump::Set("setpage", names[shown]);
}

bool TSetFrmWin::ChooseFile(const TFileChoice& choice, AnsiString& path) {
    // "description|pattern|..." as the dialog wants it: each part ending in NUL, the list in two.
    AnsiString filter = choice.Filter.empty()
                            ? Texts::Gbk(
                                  "所有图片 (*.bmp;*.dib;*.ico;*.emf;*.wmf)|*.bmp;*.dib;*.ico;*.emf;*.wmf|"
                                  "位图 (*.bmp;*.dib)|*.bmp;*.dib|图标 (*.ico)|*.ico|"
                                  "增强型图元文件 (*.emf)|*.emf|图元文件 (*.wmf)|*.wmf")
                            : choice.Filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');
    char file[4096] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = choice.Title.empty() ? nullptr : choice.Title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameA(&ofn)) return false;
    path = file;
    return true;
}

void TSetFrmWin::ShowModal() {
    // Like a modal dialog: the owner takes no input meanwhile, but its timers and messages go on.
    modal_ = true;
    const bool ownerEnabled = owner_ && ::IsWindowEnabled(owner_);
    if (ownerEnabled) ::EnableWindow(owner_, FALSE);
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(Handle());
    if (HWND first = ::GetNextDlgTabItem(Handle(), nullptr, FALSE)) ::SetFocus(first);
    MSG msg;
    while (modal_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
            break;
        }
        if (!::IsDialogMessageW(Handle(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    modal_ = false;
    // The owner first, so that the system hands it the activation when the dialog goes.
    if (ownerEnabled) ::EnableWindow(owner_, TRUE);
    ::ShowWindow(Handle(), SW_HIDE);
}

void TSetFrmWin::CloseModal() {
    modal_ = false;
    ::PostMessageW(Handle(), WM_NULL, 0, 0);  // wakes the modal loop
}

// ---- messages --------------------------------------------------------------------------------------

LRESULT CALLBACK TSetFrmWin::FlashLongerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TSetFrmWin*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_CHAR && self) {
        // The filter sees the character as the model would: its first GBK byte.
        const wchar_t wide = static_cast<wchar_t>(wParam);
        const AnsiString bytes = Narrow(std::wstring(1, wide));
        char key = bytes.empty() ? '\0' : bytes[0];
        const char typed = key;
        try {
            self->dialog_.edt_XHBX_XHZQ1KeyPress(key);
        } catch (...) {
            ShowErrorMessage(CurrentExceptionMessage());
            return 0;
        }
        if (key == 0) return 0;  // swallowed
        if (key != typed) wParam = static_cast<unsigned char>(key);
    }
    return ::CallWindowProcW(self ? self->flashLongerProc_ : ::DefWindowProcW, hwnd, msg, wParam, lParam);
}

LRESULT TSetFrmWin::ColorChild(HDC dc) {
    ::SetBkColor(dc, kPageColor);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(pageBrush_);
}

LRESULT TSetFrmWin::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND: {
            const HWND from = reinterpret_cast<HWND>(lParam);
            if (!from) return 0;
            if (HIWORD(wParam) == EN_CHANGE && from == Window(TSetControl::edt_flashlonger)) {
                dialog_.edt_flashlongerChange();
                return 0;
            }
            if (HIWORD(wParam) == BN_CLICKED && from == edt_BJTP_button_) {
                dialog_.edt_BJTPButtonClick();
                return 0;
            }
            return 0;  // Enter and Escape from the dialog navigation: the dialog has no default button
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ColorChild(reinterpret_cast<HDC>(wParam));
        case WM_CLOSE:
            // The close picture is the one way out: it saves first.
            return 0;
        default:
            break;
    }
    return TWinForm::WndProc(msg, wParam, lParam);
}
