#pragma once
// The control kit of the Win32 windows. A form (uWinForm.h) is the only window handle; panels, images
// and labels are light elements it paints in one pass into a back buffer and to which it routes the
// mouse. That keeps labels truly transparent over pictures and the window free of flicker. Controls
// that need a window of their own (edits, a browser) are child windows of the form placed over an
// element's rectangle (TElement::DeviceRect).
//
// Geometry is in 96-dpi design pixels relative to the parent element; the form scales it by the
// system's DPI when it paints and hit-tests. Mouse coordinates handed to handlers are device pixels
// relative to the element.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/uViewTypes.h"
#include "platform/Types.h"

class TWinForm;

class TElement {
public:
    explicit TElement(TElement* parent);
    virtual ~TElement();
    TElement(const TElement&) = delete;
    TElement& operator=(const TElement&) = delete;

    TElement* Parent() const { return parent_; }
    TWinForm* Form() const;
    const std::vector<TElement*>& Children() const { return children_; }

    // Design-pixel bounds relative to the parent.
    void SetBounds(int left, int top, int width, int height);
    const RECT& Bounds() const { return bounds_; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    // Bounds relative to the form's client area, in design and in device pixels.
    RECT FormRect() const;
    RECT DeviceRect() const;

    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    // Moves the element beneath its siblings (painted first, hit last).
    void SendToBack();
    // Asks the form to repaint this element's area.
    void Invalidate() const;

    // Mouse handlers; an element with none of them lets the mouse through to what lies beneath.
    std::function<void()> OnClick;
    std::function<void(TMouseButton, int x, int y)> OnMouseDown;
    std::function<void(int x, int y)> OnMouseMove;
    std::function<void(TMouseButton, int x, int y)> OnMouseUp;
    // The pointer over the element (IDC_HAND for buttons); null keeps the arrow.
    LPCSTR Cursor = nullptr;
    bool WantsMouse() const { return OnClick || OnMouseDown || OnMouseMove || OnMouseUp; }

    // Paints the element (not its children) into dc; rect is its device rectangle in the form.
    virtual void Paint(HDC dc, const RECT& rect) const;

private:
    TElement* parent_;
    std::vector<TElement*> children_;  // in painting order
    RECT bounds_{0, 0, 0, 0};
    bool visible_ = true;

protected:
    explicit TElement(TWinForm* form);  // the form's root element
    TWinForm* form_ = nullptr;
};

// A panel without bevel filled with one colour (a stored 0x00BBGGRR value is a COLORREF).
class TPanel : public TElement {
public:
    TPanel(TElement* parent, COLORREF color) : TElement(parent), color_(color) {}
    void SetColor(COLORREF color);
    COLORREF Color() const { return color_; }
    void Paint(HDC dc, const RECT& rect) const override;

private:
    COLORREF color_;
};

// An image: draws its bitmap stretched over its whole area, leaving out every pixel of the colour of
// the picture's bottom-left pixel (transparent), so what lies beneath shows. Without a picture it
// paints nothing. Owns its bitmap.
class TImage : public TElement {
public:
    using TElement::TElement;
    ~TImage() override;
    // Takes ownership of the bitmap (null clears the picture).
    void SetPicture(HBITMAP bitmap);
    bool HasPicture() const { return bitmap_ != nullptr; }
    void Paint(HDC dc, const RECT& rect) const override;

private:
    HBITMAP bitmap_ = nullptr;
    SIZE size_{0, 0};
    COLORREF transparent_ = 0;
};

// How a label's font looks: face (GBK), character set, character height in design pixels, weight and
// colour.
struct TFontSpec {
    AnsiString Face;
    BYTE CharSet = ANSI_CHARSET;
    int PixelHeight = 12;
    bool Bold = false;
    COLORREF Color = 0;
};

// A transparent label. With AutoSize it takes the size of its text; with WordWrap the text breaks at
// the element's width and what does not fit is cut off.
class TLabel : public TElement {
public:
    TLabel(TElement* parent, const TFontSpec& font);
    ~TLabel() override;
    void SetCaption(const AnsiString& gbkText);
    const AnsiString& Caption() const { return caption_; }
    bool AutoSize = true;
    bool WordWrap = false;
    void Paint(HDC dc, const RECT& rect) const override;

private:
    void FitToText();
    TFontSpec spec_;
    HFONT font_ = nullptr;
    AnsiString caption_;
    std::wstring wide_;
};

// A 24-bit bitmap stored in the program's resources; null when missing.
HBITMAP LoadResourceBitmap(int id);
