#pragma once
// A top-level window that owns its handle and hands each message to a handler. Subclasses register
// handlers per message number (On) or override WndProc; what has no handler goes to DefWindowProcA.
// Every handler runs inside the program's error handler: an exception it raises is shown in a message
// box and the message counts as handled.
//
// The form paints its element tree (uWinControls.h) into a back buffer and routes the mouse to the
// topmost element under the pointer that has handlers. A left press captures the mouse for that
// element until the left button is released; other buttons reach it only while the pointer is over it.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "app/uViewTypes.h"
#include "win32/uWinControls.h"

class TWinForm {
public:
    using THandler = std::function<LRESULT(WPARAM, LPARAM)>;

    TWinForm();
    virtual ~TWinForm();
    TWinForm(const TWinForm&) = delete;
    TWinForm& operator=(const TWinForm&) = delete;

    // Creates the window: class name, styles, caption (GBK), client size in design pixels, and the
    // window that owns it (none: a window of its own). Hidden.
    void Create(const char* className, DWORD exStyle, DWORD style, const AnsiString& caption, int designWidth,
                int designHeight, HICON icon, HWND owner = nullptr);
    HWND Handle() const { return hwnd_; }

    // Handles message msg with handler (replaces an earlier one).
    void On(UINT msg, THandler handler) { handlers_[msg] = std::move(handler); }

    // The root of the element tree: covers the client area.
    TElement& Root() { return root_; }
    // Window colour: what shows where no element paints.
    void SetColor(COLORREF color);

    // Position and size of the window on the screen, in device pixels.
    RECT DeviceRect() const;
    void SetDeviceRect(int left, int top, int width, int height);

    // The same in design pixels (96 dpi), as the behaviour's views give and take them: the primary
    // display, the window's place, a move and size in one step, and a client point on the screen.
    static TRect DesignScreenRect();
    TRect DesignWindowRect() const;
    void PlaceDesignRect(const TRect& rect);
    TPoint DesignClientToScreen(TPoint client) const;
    // Repaints what is invalid now, instead of waiting for the next WM_PAINT.
    void RepaintNow() const;

    // Called by an element that is destroyed, so the mouse routing forgets it.
    void ElementGone(const TElement* element);

protected:
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called after the client size changed (device pixels), to lay out the elements.
    virtual void Resized(int /*width*/, int /*height*/) {}

private:
    class TRoot : public TElement {
    public:
        explicit TRoot(TWinForm* form) : TElement(form) {}
    };
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint();
    TElement* ElementAt(int x, int y) const;
    bool Mouse(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    TRoot root_;
    COLORREF color_ = ::GetSysColor(COLOR_BTNFACE);
    std::map<UINT, THandler> handlers_;
    TElement* captured_ = nullptr;  // holds the mouse while the left button is down
    TElement* pressed_ = nullptr;   // where the left button went down (a click if it comes up there)
};

// A form that is a window of the behaviour's (IWindowView, or a view built on it), in design pixels.
template <class View>
class TWinFormView : public TWinForm, public View {
public:
    TRect ScreenRect() const override { return DesignScreenRect(); }
    TRect WindowRect() const override { return DesignWindowRect(); }
    void PlaceWindow(const TRect& rect) override { PlaceDesignRect(rect); }
    TPoint ClientToScreen(TPoint client) const override { return DesignClientToScreen(client); }
};
