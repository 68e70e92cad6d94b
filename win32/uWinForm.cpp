#include "win32/uWinForm.h"

#include <windows.h>
// windows.h first: windowsx.h builds on it.
#include <windowsx.h>

#include "app/uAppErrors.h"
#include "win32/uWinApp.h"
#include "win32/uWinText.h"

TWinForm::TWinForm() : root_(this) {}

TWinForm::~TWinForm() {
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void TWinForm::Create(const char* className, DWORD exStyle, DWORD style, const AnsiString& caption,
                      int designWidth, int designHeight, HICON icon, HWND owner) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!::GetClassInfoExA(WinApp::Instance(), className, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = StaticWndProc;
        wc.hInstance = WinApp::Instance();
        wc.lpszClassName = className;
        wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        wc.hIcon = icon;
        wc.hIconSm = icon;
        ::RegisterClassExA(&wc);
    }
    RECT r{0, 0, WinApp::Scale(designWidth), WinApp::Scale(designHeight)};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const std::wstring wideCaption = WinText::Wide(caption);
    hwnd_ =
        ::CreateWindowExW(exStyle, WinText::WideFromUtf8(className).c_str(), wideCaption.c_str(), style, 0, 0,
                          r.right - r.left, r.bottom - r.top, owner, nullptr, WinApp::Instance(), this);
    root_.SetBounds(0, 0, designWidth, designHeight);
}

void TWinForm::SetColor(COLORREF color) {
    color_ = color;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

RECT TWinForm::DeviceRect() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return r;
}

void TWinForm::SetDeviceRect(int left, int top, int width, int height) {
    // A move alone (the drag) is sent without a size, so the window is not laid out again for nothing.
    const RECT now = DeviceRect();
    const UINT size = (now.right - now.left == width && now.bottom - now.top == height) ? SWP_NOSIZE : 0;
    ::SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE | size);
}

TRect TWinForm::DesignScreenRect() {
    return {0, 0, WinApp::Unscale(::GetSystemMetrics(SM_CXSCREEN)),
            WinApp::Unscale(::GetSystemMetrics(SM_CYSCREEN))};
}

TRect TWinForm::DesignWindowRect() const {
    const RECT r = DeviceRect();
    return {WinApp::Unscale(r.left), WinApp::Unscale(r.top), WinApp::Unscale(r.right - r.left),
            WinApp::Unscale(r.bottom - r.top)};
}

void TWinForm::PlaceDesignRect(const TRect& rect) {
    SetDeviceRect(WinApp::Scale(rect.Left), WinApp::Scale(rect.Top), WinApp::Scale(rect.Width),
                  WinApp::Scale(rect.Height));
}

TPoint TWinForm::DesignClientToScreen(TPoint client) const {
    POINT p{WinApp::Scale(client.X), WinApp::Scale(client.Y)};
    ::ClientToScreen(hwnd_, &p);
    return {WinApp::Unscale(p.x), WinApp::Unscale(p.y)};
}

void TWinForm::RepaintNow() const {
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TWinForm::ElementGone(const TElement* element) {
    if (captured_ == element) captured_ = nullptr;
    if (pressed_ == element) pressed_ = nullptr;
}

LRESULT CALLBACK TWinForm::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* form = static_cast<TWinForm*>(create->lpCreateParams);
        form->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TWinForm*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!form) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        const LRESULT result = form->WndProc(msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            form->hwnd_ = nullptr;
        }
        return result;
    } catch (...) {
        ShowErrorMessage(CurrentExceptionMessage());
        return 0;
    }
}

LRESULT TWinForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto handler = handlers_.find(msg);
    if (handler != handlers_.end()) return handler->second(wParam, lParam);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the back buffer covers everything
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SIZE:
            Resized(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                POINT p;
                ::GetCursorPos(&p);
                ::ScreenToClient(hwnd_, &p);
                const TElement* e = captured_ ? captured_ : ElementAt(p.x, p.y);
                ::SetCursor(::LoadCursorA(nullptr, e && e->Cursor ? e->Cursor : MAKEINTRESOURCEA(32512)));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            if (Mouse(msg, wParam, lParam)) return 0;
            break;
        case WM_CAPTURECHANGED:
            captured_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
}

namespace {
void PaintTree(const TElement& element, HDC dc) {
    for (const TElement* child : element.Children()) {
        if (!child->Visible()) continue;
        const RECT r = child->DeviceRect();
        RECT visible;
        RECT clip;
        ::GetClipBox(dc, &clip);
        if (!::IntersectRect(&visible, &r, &clip)) continue;
        // A child never paints outside its parent: clip to its own rectangle.
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        child->Paint(dc, r);
        PaintTree(*child, dc);
        ::RestoreDC(dc, saved);
    }
}

const TElement* Hit(const TElement& element, int x, int y) {
    const auto& children = element.Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        const TElement* child = *it;
        if (!child->Visible()) continue;
        const RECT r = child->DeviceRect();
        if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) continue;
        if (const TElement* inner = Hit(*child, x, y)) return inner;
        if (child->WantsMouse()) return child;
    }
    return nullptr;
}
}  // namespace

void TWinForm::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    RECT client;
    ::GetClientRect(hwnd_, &client);
    HDC buffer = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(buffer, bitmap);
    ::IntersectClipRect(buffer, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    ::SetDCBrushColor(buffer, color_);
    ::FillRect(buffer, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    PaintTree(root_, buffer);
    ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, buffer, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    ::SelectObject(buffer, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(buffer);
    ::EndPaint(hwnd_, &ps);
}

TElement* TWinForm::ElementAt(int x, int y) const {
    return const_cast<TElement*>(Hit(root_, x, y));
}

bool TWinForm::Mouse(UINT msg, WPARAM, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    TElement* target = captured_ ? captured_ : ElementAt(x, y);
    if (!target) {
        if (msg == WM_LBUTTONUP) pressed_ = nullptr;
        return false;
    }
    const RECT r = target->DeviceRect();
    const int ex = x - r.left;
    const int ey = y - r.top;
    switch (msg) {
        case WM_MOUSEMOVE:
            if (target->OnMouseMove) target->OnMouseMove(ex, ey);
            break;
        case WM_LBUTTONDOWN:
            captured_ = target;
            pressed_ = target;
            ::SetCapture(hwnd_);
            if (target->OnMouseDown) target->OnMouseDown(TMouseButton::Left, ex, ey);
            break;
        case WM_LBUTTONUP: {
            TElement* pressed = pressed_;
            pressed_ = nullptr;
            if (captured_) {
                captured_ = nullptr;
                ::ReleaseCapture();
            }
            const bool inside = ex >= 0 && ey >= 0 && ex < r.right - r.left && ey < r.bottom - r.top;
            if (target->OnMouseUp) target->OnMouseUp(TMouseButton::Left, ex, ey);
            // A click is a left press and release over the same element.
            if (pressed == target && inside && target->OnClick) target->OnClick();
            break;
        }
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (target->OnMouseDown)
                target->OnMouseDown(msg == WM_RBUTTONDOWN ? TMouseButton::Right : TMouseButton::Middle, ex,
                                    ey);
            break;
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (target->OnMouseUp)
                target->OnMouseUp(msg == WM_RBUTTONUP ? TMouseButton::Right : TMouseButton::Middle, ex, ey);
            break;
        default:
            return false;
    }
    return true;
}
