#include "win32/uWebBrowserHost.h"

#include <commctrl.h>
#include <exdispid.h>
#include <mshtmdid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <shellapi.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/uWebBrowserManage.h"
#include "platform/Gbk.h"
#include "settings/uSysUtils.h"
#include "win32/uWinEvents.h"

using Microsoft::WRL::ComPtr;

namespace {

const char kViewClass[] = "ChimewickBannerView";
constexpr UINT_PTR kDeadlineTimer = 1;

// Loads of the page's parts that a banner needs (pictures, scripts); no Java, no ActiveX controls,
// no sounds or videos, and no dialogs of the engine's own.
constexpr LONG kDownloadControl =
    DLCTL_DLIMAGES | DLCTL_NO_JAVA | DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_SILENT;

// A VARIANT that clears itself.
struct TVariant : VARIANT {
    TVariant() { ::VariantInit(this); }
    ~TVariant() { ::VariantClear(this); }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
};

int64_t NowMs() {
    return std::llround(SysUtils::Now() * 86400000.0);
}

std::string Utf8(const wchar_t* text, int length) {
    if (!text || length <= 0) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = static_cast<int>(utf8.size());
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), size);
    return out;
}

// Late-bound access to the page's objects by name, the way a script sees them.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{args, nullptr, count, 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

ComPtr<IDispatch> Member(IDispatch* object, const wchar_t* name) {
    TVariant value;
    if (!object || FAILED(Call(object, name, DISPATCH_PROPERTYGET, nullptr, 0, &value))) return nullptr;
    return value.vt == VT_DISPATCH ? ComPtr<IDispatch>(value.pdispVal) : nullptr;
}

bool SetText(IDispatch* object, const wchar_t* name, const wchar_t* text) {
    TVariant value;
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocString(text);
    return object && SUCCEEDED(Call(object, name, DISPATCH_PROPERTYPUT, &value, 1, nullptr));
}

// The event's arguments, counted from the first (COM hands them over last first).
VARIANT* Arg(DISPPARAMS* params, UINT index) {
    return params && index < params->cArgs ? &params->rgvarg[params->cArgs - 1 - index] : nullptr;
}

void SetCancel(VARIANT* cancel) {
    if (cancel && cancel->vt == (VT_BYREF | VT_BOOL) && cancel->pboolVal) *cancel->pboolVal = VARIANT_TRUE;
}

std::wstring TextOf(const VARIANT* v) {
    if (v && v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
    return v && v->vt == VT_BSTR && v->bstrVal ? std::wstring(v->bstrVal, ::SysStringLen(v->bstrVal))
                                               : std::wstring();
}

IDispatch* ObjectOf(const VARIANT* v) {
    return v && v->vt == VT_DISPATCH ? v->pdispVal : nullptr;
}

bool Flag(const VARIANT* v) {
    return v && v->vt == VT_BOOL && v->boolVal != VARIANT_FALSE;
}

// A number argument (NewWindow3's flags come as an unsigned or a signed 32-bit value).
unsigned long Number(const VARIANT* v) {
    if (v && v->vt == VT_UI4) return v->ulVal;
    if (v && v->vt == VT_I4) return static_cast<unsigned long>(v->lVal);
    return 0;
}

}  // namespace

// The control's side of the host: its client site and in-place frame, the UI handler that keeps the
// engine's menus and boxes away, and the sink of its events. One object, one reference count: the host
// holds one reference, the control takes its own while it uses the site, and the last Release frees it.
class TBrowserSite final : public IOleClientSite,
                           public IOleInPlaceSite,
                           public IOleInPlaceFrame,
                           public IDocHostUIHandler,
                           public IDocHostShowUI,
                           public IDispatch {
public:
    explicit TBrowserSite(TWebBrowserHost* host) : host_(host) {}
    // The host is going away; events that still arrive are ignored.
    void Detach() { host_ = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDocHostUIHandler)
            *out = static_cast<IDocHostUIHandler*>(this);
        else if (iid == __uuidof(IDocHostShowUI))
            *out = static_cast<IDocHostShowUI*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        if (container) *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (for both the site and the frame)
    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = host_ ? host_->window_ : nullptr;
        return *window ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return host_ ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !document || !position || !clip || !info) return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        const HWND view = host_ ? host_->window_ : nullptr;
        ::SetRectEmpty(position);
        ::SetRectEmpty(clip);
        if (host_) *position = host_->view_;
        if (view) ::GetClientRect(view, clip);
        info->fMDIApp = FALSE;
        info->hwndFrame = view ? ::GetAncestor(view, GA_ROOT) : nullptr;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool bars, menus or status line to share.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }  // also IDocHostUIHandler's
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler: no context menu, no help, no keyboard commands (print, find, new window),
    // nothing of ours for the page's script.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_OK; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
        if (!info) return E_POINTER;
        info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_DISABLE_HELP_MENU |
                        DOCHOSTUIFLAG_DIALOG;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_OK;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_OK; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override {
        if (key) *key = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExternal(IDispatch** external) override {
        if (external) *external = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }

    // IDocHostShowUI: the page's alert, confirm and help boxes are not shown (confirm answers Cancel).
    STDMETHODIMP ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT* result) override {
        if (result) *result = IDCANCEL;
        return S_OK;
    }
    STDMETHODIMP ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) override { return S_OK; }

    // IDispatch: the control's events, and the ambient download control it asks its site for.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (id == DISPID_AMBIENT_DLCONTROL && (flags & DISPATCH_PROPERTYGET) && result) {
            result->vt = VT_I4;
            result->lVal = kDownloadControl;
            return S_OK;
        }
        TWebBrowserHost* host = host_;
        if (!host) return S_OK;
        switch (id) {
            case DISPID_BEFORENAVIGATE2:  // (frame, URL, flags, target, post data, headers, Cancel)
                if (host->BeforeNavigate(ObjectOf(Arg(params, 0)), TextOf(Arg(params, 1))))
                    SetCancel(Arg(params, 6));
                break;
            case DISPID_NAVIGATEERROR:  // (frame, URL, target, status, Cancel): no error page
                if (host->NavigateError(ObjectOf(Arg(params, 0)))) SetCancel(Arg(params, 4));
                break;
            case DISPID_NEWWINDOW3:  // (new window, Cancel, flags, from, to): never a window of the control's
                SetCancel(Arg(params, 1));
                host->NewWindow((Number(Arg(params, 2)) & NWMF_USERINITED) != 0, TextOf(Arg(params, 4)));
                break;
            case DISPID_NEWWINDOW2:     // (new window, Cancel)
            case DISPID_WINDOWCLOSING:  // (child window, Cancel): the page may not close the view
                SetCancel(Arg(params, 1));
                break;
            case DISPID_FILEDOWNLOAD:  // (active document, Cancel): a page to show goes on, a file does not
                if (!Flag(Arg(params, 0))) SetCancel(Arg(params, 1));
                break;
            case DISPID_DOCUMENTCOMPLETE:  // (frame, URL)
                host->DocumentComplete(ObjectOf(Arg(params, 0)));
                break;
            case DISPID_DOWNLOADCOMPLETE:
                host->DownloadComplete();
                break;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
        return S_OK;
    }

private:
    ~TBrowserSite() = default;  // only Release deletes
    LONG refs_ = 1;
    TWebBrowserHost* host_;
};

namespace {

constexpr UINT_PTR kParentSubclass = 0x43574253;  // "CWBS"

// The hosts alive on this thread, and the hook through which they see every message a loop takes.
std::vector<TWebBrowserHost*> g_hosts;
HHOOK g_hook = nullptr;

LRESULT CALLBACK MessageHook(int code, WPARAM removed, LPARAM lParam) {
    if (code == HC_ACTION && removed == PM_REMOVE) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        for (TWebBrowserHost* host : g_hosts)
            if (host->FilterMessage(*msg)) msg->message = WM_NULL;  // taken, and nothing to dispatch
    }
    return ::CallNextHookEx(g_hook, code, removed, lParam);
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
    if (message == WM_SIZE) reinterpret_cast<TWebBrowserHost*>(data)->FollowParent();
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kDeadlineTimer) {
        auto* host = reinterpret_cast<TWebBrowserHost*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (host) host->CheckDeadline();
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateView(HWND parent, const RECT& strip) {
    static const ATOM atom = [] {
        WNDCLASSA cls{};
        cls.lpfnWndProc = ViewProc;
        cls.hInstance = ::GetModuleHandleA(nullptr);
        cls.lpszClassName = kViewClass;
        cls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        return ::RegisterClassA(&cls);
    }();
    if (!atom) return nullptr;
    // Hidden until a page has loaded: the strip shows its own colour meanwhile.
    return ::CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, strip.left,
                             strip.top, strip.right - strip.left, strip.bottom - strip.top, parent, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

std::string HResultText(const char* step, HRESULT hr) {
    char text[64];
    std::snprintf(text, sizeof text, "%s: 0x%08lX", step, static_cast<unsigned long>(hr));
    return text;
}

}  // namespace

std::unique_ptr<TWebBrowserHost> TWebBrowserHost::Create(HWND parent, const RECT& strip, const RECT& view,
                                                         const LogFunction& log) {
    const HRESULT init = ::OleInitialize(nullptr);
    IWebBrowser2* browser = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2,
                                    reinterpret_cast<void**>(&browser));
    const bool created = SUCCEEDED(hr);
    std::unique_ptr<TWebBrowserHost> host;
    if (created) {
        host = std::make_unique<TWebBrowserHost>(parent, strip, view, browser, log);
        browser->Release();  // the host holds its own reference
        hr = host->Activate();
        if (FAILED(hr)) host.reset();
    }
    if (!host) {
        TBannerPage page;
        const auto action = page.Unavailable(HResultText(created ? "activation" : "CoCreateInstance", hr));
        if (log) log(action.Report);
    }
    if (SUCCEEDED(init)) ::OleUninitialize();  // the host keeps its own
    return host;
}

TWebBrowserHost::TWebBrowserHost(HWND parent, const RECT& strip, const RECT& view, IWebBrowser2* browser,
                                 LogFunction log)
    : view_(view), browser_(browser), log_(std::move(log)) {
    OpenInBrowser = [](const std::wstring& url) {
        // The desktop's handler for web addresses: the user's default browser.
        ::ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    clicks_.SetPattern(plat::GbkToUtf8(TWBManage::AcceptancePattern()));
    oleInitialized_ = SUCCEEDED(::OleInitialize(nullptr));
    browser_->AddRef();
    site_ = new TBrowserSite(this);
    window_ = CreateView(parent, strip);
    if (window_) ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT client{};
    if (parent && ::GetClientRect(parent, &client)) {
        parent_ = parent;
        fromBottom_ = client.bottom - strip.top;
        ::SetWindowSubclass(parent, ParentProc, kParentSubclass, reinterpret_cast<DWORD_PTR>(this));
    }
    if (g_hosts.empty())
        g_hook = ::SetWindowsHookExA(WH_GETMESSAGE, MessageHook, nullptr, ::GetCurrentThreadId());
    g_hosts.push_back(this);
    // No bars, no boxes of the engine's own, and nothing dropped on the view opens.
    browser_->put_MenuBar(VARIANT_FALSE);
    browser_->put_StatusBar(VARIANT_FALSE);
    browser_->put_AddressBar(VARIANT_FALSE);
    browser_->put_Silent(VARIANT_TRUE);
    browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
}

TWebBrowserHost::~TWebBrowserHost() {
    g_hosts.erase(std::remove(g_hosts.begin(), g_hosts.end(), this), g_hosts.end());
    if (g_hosts.empty() && g_hook) {
        ::UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    if (parent_) ::RemoveWindowSubclass(parent_, ParentProc, kParentSubclass);
    if (window_) {
        ::KillTimer(window_, kDeadlineTimer);
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    }
    site_->Detach();
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> events;
    if (adviseCookie_ && SUCCEEDED(browser_->QueryInterface(IID_PPV_ARGS(&points))) &&
        SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &events)))
        events->Unadvise(adviseCookie_);
    ComPtr<IOleObject> control;
    if (SUCCEEDED(browser_->QueryInterface(IID_PPV_ARGS(&control)))) {
        control->Close(OLECLOSE_NOSAVE);
        control->SetClientSite(nullptr);
    }
    site_->Release();
    browser_->Release();
    if (window_) ::DestroyWindow(window_);
    if (oleInitialized_) ::OleUninitialize();
}

HRESULT TWebBrowserHost::Activate() {
    if (!window_)
        return HRESULT_FROM_WIN32(::GetLastError() ? ::GetLastError() : ERROR_INVALID_WINDOW_HANDLE);
    ComPtr<IOleObject> control;
    HRESULT hr = browser_->QueryInterface(IID_PPV_ARGS(&control));
    if (SUCCEEDED(hr)) hr = control->SetClientSite(static_cast<IOleClientSite*>(site_));
    RECT area;
    ::GetClientRect(window_, &area);
    if (SUCCEEDED(hr))
        hr = control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0,
                             window_, &area);
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> events;
    if (SUCCEEDED(hr)) hr = browser_->QueryInterface(IID_PPV_ARGS(&points));
    if (SUCCEEDED(hr)) hr = points->FindConnectionPoint(DIID_DWebBrowserEvents2, &events);
    if (SUCCEEDED(hr)) hr = events->Advise(static_cast<IDispatch*>(site_), &adviseCookie_);
    return hr;
}

void TWebBrowserHost::SystemLog(const std::string& line) {
    ::OutputDebugStringA((line + "\n").c_str());
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

void TWebBrowserHost::Place(const RECT& strip) {
    if (!window_) return;
    RECT client{};
    if (parent_ && ::GetClientRect(parent_, &client)) fromBottom_ = client.bottom - strip.top;
    ::SetWindowPos(window_, nullptr, strip.left, strip.top, strip.right - strip.left,
                   strip.bottom - strip.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWebBrowserHost::FollowParent() {
    RECT client{}, now{};
    if (!window_ || !parent_ || !::GetClientRect(parent_, &client) || !::GetWindowRect(window_, &now)) return;
    ::MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&now), 2);
    ::SetWindowPos(window_, nullptr, now.left, client.bottom - fromBottom_, 0, 0,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

IUnknown* TWebBrowserHost::Site() const {
    return static_cast<IOleClientSite*>(site_);
}

bool TWebBrowserHost::PageShown() const {
    // The view's own state: the strip may itself be hidden (the window in the tray).
    return window_ && (::GetWindowLongPtrA(window_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TWebBrowserHost::Navigate(const std::string& url) {
    const TBannerPage::TAction action = page_.Request(url, NowMs());
    Apply(action);
    if (!action.Load) return;
    BSTR address = ::SysAllocString(Wide(url).c_str());
    TVariant none1, none2, none3, none4;  // no flags, target frame, post data or headers
    const HRESULT hr = browser_->Navigate(address, &none1, &none2, &none3, &none4);
    ::SysFreeString(address);
    if (FAILED(hr)) Apply(page_.Fail());
}

void TWebBrowserHost::RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) {
    // Nothing to work on while no page has loaded (an engine that never gives one, a failed page).
    ComPtr<IDispatch> document;
    if (page_.HasFailed() || FAILED(browser_->get_Document(&document)) || !document) return;
    TDocumentSteps steps;
    ComPtr<IDispatch> body = Member(document.Get(), L"Body");
    ComPtr<IDispatch> root = Member(document.Get(), L"documentElement");
    ComPtr<IDispatch> style = Member(root.Get(), L"style");
    ComPtr<IHTMLDocument2> html;
    ComPtr<IDispatch> element;
    if (!SetText(body.Get(), L"Scroll", L"no")) {
        steps.Result = TDocumentSteps::NoBody;
    } else if (!SetText(style.Get(), L"overflow", L"hidden")) {
        steps.Result = TDocumentSteps::NoStyle;
    } else if (!readNextUrl) {
        steps.Result = TDocumentSteps::Styled;
    } else if (FAILED(document.As(&html))) {
        steps.Result = TDocumentSteps::NoDocument;
    } else {
        // all.item("nextUrl", 0): the first element whose name or identifier is "nextUrl". The typed
        // interfaces are only asked for to tell what an object is; the reads go by name.
        ComPtr<IDispatch> all = Member(document.Get(), L"all");
        TVariant args[2], found;
        args[0].vt = VT_I4;  // last argument first: the index, then the name
        args[0].lVal = 0;
        args[1].vt = VT_BSTR;
        args[1].bstrVal = ::SysAllocString(L"nextUrl");
        if (all &&
            SUCCEEDED(Call(all.Get(), L"item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, 2, &found)) &&
            found.vt == VT_DISPATCH)
            element = found.pdispVal;
        ComPtr<IHTMLInputElement> input;
        TVariant value;
        if (!element) {
            steps.Result = TDocumentSteps::NoNextUrl;
        } else if (FAILED(element.As(&input))) {
            steps.Result = TDocumentSteps::NotInput;
        } else {
            steps.Result = TDocumentSteps::NextUrlValue;
            if (SUCCEEDED(Call(element.Get(), L"value", DISPATCH_PROPERTYGET, nullptr, 0, &value)) &&
                value.vt == VT_BSTR)
                steps.Value = Utf8(value.bstrVal, static_cast<int>(::SysStringLen(value.bstrVal)));
        }
    }
    done(steps);
}

bool TWebBrowserHost::FilterMessage(const MSG& msg) {
    if (!window_ || !msg.hwnd || (msg.hwnd != window_ && !::IsChild(window_, msg.hwnd))) return false;
    if (msg.message == WM_LBUTTONUP) clicks_.LeftClick(NowMs());
    return TWBManage::IsMenuMessage(WinEvents::BannerInput(msg.message));
}

void TWebBrowserHost::CheckDeadline() {
    Apply(page_.Tick(NowMs()));
}

void TWebBrowserHost::Apply(const TBannerPage::TAction& action) {
    if (!action.Report.empty() && log_) log_(action.Report);
    if (window_) ::ShowWindow(window_, page_.Visible() ? SW_SHOWNA : SW_HIDE);
    if (action.Stop) browser_->Stop();
    ArmDeadline();
}

void TWebBrowserHost::ArmDeadline() {
    if (!window_) return;
    if (!page_.Loading()) {
        ::KillTimer(window_, kDeadlineTimer);
        return;
    }
    // Looked at each second while a page loads: the deadline follows the program's clock, which tests
    // and end-to-end runs move.
    const int64_t left = page_.Deadline() - NowMs();
    ::SetTimer(window_, kDeadlineTimer, static_cast<UINT>(left < 1 ? 1 : left > 1000 ? 1000 : left), nullptr);
}

void TWebBrowserHost::Guarded(const std::function<void()>& handler) {
    if (!handler) return;
    if (RunHandler) {
        RunHandler(handler);
        return;
    }
    try {
        handler();
    } catch (const std::exception& e) {
        if (log_) log_(std::string("banner: ") + e.what());
    } catch (...) {
        if (log_) log_("banner: an error in a page event");
    }
}

bool TWebBrowserHost::IsTopLevel(IDispatch* frame) const {
    ComPtr<IUnknown> a, b;
    return frame && SUCCEEDED(frame->QueryInterface(IID_PPV_ARGS(&a))) &&
           SUCCEEDED(browser_->QueryInterface(IID_PPV_ARGS(&b))) && a.Get() == b.Get();
}

bool TWebBrowserHost::HasDocument() const {
    ComPtr<IDispatch> document;
    return SUCCEEDED(browser_->get_Document(&document)) && document;
}

bool TWebBrowserHost::BeforeNavigate(IDispatch* frame, const std::wstring& url) {
    const std::string address = Utf8(url.data(), static_cast<int>(url.size()));
    if (!IsTopLevel(frame)) return !TBannerRules::NavigationAllowed(address);
    // The control does not say what started a navigation; one that comes shortly after a left click on
    // the page is taken as the click's (the program's own navigations are banner or blank pages, which
    // stay in the strip anyway).
    switch (clicks_.Navigation(address, false, true, NowMs())) {
        case TPageNavigation::OpenInBrowser:
            Open(url);
            return true;
        case TPageNavigation::Refuse:
            return true;
        case TPageNavigation::Load:
            break;
    }
    const bool allowed = page_.Navigation(address, NowMs());
    ArmDeadline();
    return !allowed;
}

void TWebBrowserHost::NewWindow(bool userInitiated, const std::wstring& url) {
    const std::string address = Utf8(url.data(), static_cast<int>(url.size()));
    if (clicks_.Navigation(address, true, userInitiated, NowMs()) == TPageNavigation::OpenInBrowser)
        Open(url);
}

void TWebBrowserHost::Open(const std::wstring& url) {
    if (OpenInBrowser) Guarded([&] { OpenInBrowser(url); });
}

bool TWebBrowserHost::NavigateError(IDispatch* frame) {
    if (IsTopLevel(frame)) Apply(page_.Fail());
    return true;  // never the engine's error page
}

void TWebBrowserHost::DocumentComplete(IDispatch* frame) {
    if (IsTopLevel(frame)) Apply(page_.Complete(HasDocument()));
    // Every completed document or frame of a page that has not failed goes to the banner manager.
    if (!page_.HasFailed()) Guarded(OnDocumentComplete);
}

void TWebBrowserHost::DownloadComplete() {
    Guarded(OnDownloadComplete);
}
