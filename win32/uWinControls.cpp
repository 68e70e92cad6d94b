#include "win32/uWinControls.h"

#include <algorithm>

#include "win32/uWinApp.h"
#include "win32/uWinForm.h"
#include "win32/uWinText.h"

TElement::TElement(TWinForm* form) : parent_(nullptr), form_(form) {}

TElement::TElement(TElement* parent) : parent_(parent), form_(parent->form_) {
    parent_->children_.push_back(this);
}

TElement::~TElement() {
    if (form_) form_->ElementGone(this);
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (TElement* child : children_) child->parent_ = nullptr;
}

TWinForm* TElement::Form() const {
    return form_;
}

void TElement::SetBounds(int left, int top, int width, int height) {
    const RECT next{left, top, left + std::max(0, width), top + std::max(0, height)};
    if (EqualRect(&next, &bounds_)) return;
    Invalidate();
    bounds_ = next;
    Invalidate();
}

RECT TElement::FormRect() const {
    RECT r = bounds_;
    for (const TElement* p = parent_; p; p = p->parent_) OffsetRect(&r, p->bounds_.left, p->bounds_.top);
    return r;
}

RECT TElement::DeviceRect() const {
    const RECT r = FormRect();
    return RECT{WinApp::Scale(r.left), WinApp::Scale(r.top), WinApp::Scale(r.right), WinApp::Scale(r.bottom)};
}

void TElement::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Invalidate();
}

void TElement::SendToBack() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    siblings.insert(siblings.begin(), this);
    Invalidate();
}

void TElement::Invalidate() const {
    if (form_ && form_->Handle()) {
        const RECT r = DeviceRect();
        ::InvalidateRect(form_->Handle(), &r, FALSE);
    }
}

void TElement::Paint(HDC, const RECT&) const {}

void TPanel::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

void TPanel::Paint(HDC dc, const RECT& rect) const {
    ::SetDCBrushColor(dc, color_);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

TImage::~TImage() {
    if (bitmap_) ::DeleteObject(bitmap_);
}

void TImage::SetPicture(HBITMAP bitmap) {
    if (bitmap_) ::DeleteObject(bitmap_);
    bitmap_ = bitmap;
    size_ = SIZE{0, 0};
    if (bitmap_) {
        BITMAP info{};
        ::GetObjectA(bitmap_, sizeof info, &info);
        size_ = SIZE{info.bmWidth, info.bmHeight};
        // The colour left out is the one of the bottom-left pixel.
        HDC mem = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(mem, bitmap_);
        transparent_ = ::GetPixel(mem, 0, size_.cy - 1);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
    }
    Invalidate();
}

void TImage::Paint(HDC dc, const RECT& rect) const {
    if (!bitmap_ || size_.cx <= 0 || size_.cy <= 0) return;
    HDC mem = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem, bitmap_);
    ::GdiTransparentBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, mem, 0, 0,
                        size_.cx, size_.cy, transparent_);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
}

TLabel::TLabel(TElement* parent, const TFontSpec& font) : TElement(parent), spec_(font) {
    LOGFONTW lf{};
    lf.lfHeight = -WinApp::Scale(spec_.PixelHeight);  // negative: the character height
    lf.lfWeight = spec_.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = spec_.CharSet;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = WinText::Wide(spec_.Face);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    font_ = ::CreateFontIndirectW(&lf);
}

TLabel::~TLabel() {
    if (font_) ::DeleteObject(font_);
}

void TLabel::SetCaption(const AnsiString& gbkText) {
    if (gbkText == caption_) return;
    caption_ = gbkText;
    wide_ = WinText::Wide(gbkText);
    if (AutoSize) FitToText();
    Invalidate();
}

void TLabel::FitToText() {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font_);
    RECT r{0, 0, 0, 0};
    if (!wide_.empty()) {
        ::DrawTextW(dc, wide_.c_str(), static_cast<int>(wide_.size()), &r,
                    DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    } else {
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        r.bottom = tm.tmHeight;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    // Back to design pixels, rounded up so the text is never clipped.
    const int dpi = WinApp::Dpi();
    const RECT& b = Bounds();
    SetBounds(b.left, b.top, (r.right * 96 + dpi - 1) / dpi, (r.bottom * 96 + dpi - 1) / dpi);
}

void TLabel::Paint(HDC dc, const RECT& rect) const {
    if (wide_.empty()) return;
    HGDIOBJ old = ::SelectObject(dc, font_);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, spec_.Color);
    RECT r = rect;
    // No prefix: an "&" in a reminder text is shown as it is.
    const UINT format =
        DT_NOPREFIX | DT_TOP | DT_LEFT | (WordWrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE);
    ::DrawTextW(dc, wide_.c_str(), static_cast<int>(wide_.size()), &r, format);
    ::SelectObject(dc, old);
}

HBITMAP LoadResourceBitmap(int id) {
    return static_cast<HBITMAP>(
        ::LoadImageA(WinApp::Instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}
