// The banner's browser host against a fake browser control: what it cancels and what it lets through,
// how the strip follows the page (shown once loaded, plain after a failure, a missing document or the
// deadline), the once-only log, the steps on the document, the right-click filter, and the real
// control where one can be created (under Wine: created, but it never finishes a page).
#include <exdispid.h>
#include <gtest/gtest.h>
#include <mshtmdid.h>
#include <mshtmhst.h>
#include <shobjidl.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FakeBrowser.h"
#include "app/uBannerRules.h"
#include "app/uWebBrowserManage.h"
#include "support/FakeClock.h"
#include "support/TestHost.h"
#include "win32/uWebBrowserHost.h"

namespace {

bool Same(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

// A variant argument the way the control passes it by reference.
struct ByRef {
    VARIANT inner{};
    VARIANT outer{};
    explicit ByRef(const wchar_t* text = nullptr) {
        ::VariantInit(&inner);
        if (text) {
            inner.vt = VT_BSTR;
            inner.bstrVal = ::SysAllocString(text);
        }
        outer.vt = VT_BYREF | VT_VARIANT;
        outer.pvarVal = &inner;
    }
    ~ByRef() { ::VariantClear(&inner); }
};

// Fires one of the control's events at the host's site; returns the event's Cancel flag.
class EventArgs {
public:
    EventArgs& Object(IDispatch* object) {
        VARIANT v;
        v.vt = VT_DISPATCH;
        v.pdispVal = object;
        args_.push_back(v);
        return *this;
    }
    EventArgs& Text(const wchar_t* text) {
        refs_.push_back(std::make_shared<ByRef>(text));
        args_.push_back(refs_.back()->outer);
        return *this;
    }
    EventArgs& Flag(bool flag) {
        VARIANT v;
        v.vt = VT_BOOL;
        v.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
        args_.push_back(v);
        return *this;
    }
    EventArgs& Number(unsigned long number, VARTYPE type = VT_I4) {
        VARIANT v;
        v.vt = type;
        v.ulVal = number;
        args_.push_back(v);
        return *this;
    }
    EventArgs& Cancel() {
        VARIANT v;
        v.vt = VT_BYREF | VT_BOOL;
        v.pboolVal = cancel_.get();
        args_.push_back(v);
        return *this;
    }
    bool Fire(TWebBrowserHost& host, DISPID id) {
        std::vector<VARIANT> reversed(args_.rbegin(), args_.rend());  // COM passes the last one first
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        IDispatch* sink = nullptr;
        EXPECT_EQ(host.Site()->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&sink)),
                  S_OK);
        result_ = sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        sink->Release();
        return *cancel_ != VARIANT_FALSE;
    }
    HRESULT Result() const { return result_; }

private:
    std::vector<VARIANT> args_;
    std::vector<std::shared_ptr<ByRef>> refs_;
    std::shared_ptr<VARIANT_BOOL> cancel_ = std::make_shared<VARIANT_BOOL>(VARIANT_FALSE);  // copies share it
    HRESULT result_ = E_UNEXPECTED;
};

// A hidden top-level window for the strip, a fake browser with a plain document, and the host.
struct Rig {
    Rig() : clock(SysUtils::EncodeDate(2026, 12, 10) + SysUtils::EncodeTime(12, 0, 0, 0)) {
        parent = ::CreateWindowExA(0, "STATIC", "window", WS_POPUP, 0, 0, 442, 259, nullptr, nullptr, nullptr,
                                   nullptr);
        body.texts[L"scroll"] = L"";
        style.texts[L"overflow"] = L"";
        root.members[L"style"] = &style;
        document.kinds = {IID_IHTMLDocument2};
        document.members = {{L"body", &body}, {L"documentelement", &root}};
        browser.document = &document;
        host = std::make_unique<TWebBrowserHost>(parent, RECT{0, 169, 442, 259}, RECT{-16, -16, 570, 123},
                                                 &browser,
                                                 [this](const std::string& line) { log.push_back(line); });
        host->OnDocumentComplete = [this] { ++documents; };
        host->OnDownloadComplete = [this] { ++downloads; };
    }
    ~Rig() {
        host.reset();
        ::DestroyWindow(parent);
    }
    bool Navigation(const wchar_t* url, IDispatch* frame = nullptr) {
        return EventArgs()
            .Object(frame ? frame : &browser)
            .Text(url)
            .Text(nullptr)
            .Text(nullptr)
            .Text(nullptr)
            .Text(nullptr)
            .Cancel()
            .Fire(*host, DISPID_BEFORENAVIGATE2);
    }
    void Complete(IDispatch* frame = nullptr) {
        EventArgs()
            .Object(frame ? frame : &browser)
            .Text(L"http://banner.test/ssh/1.html")
            .Fire(*host, DISPID_DOCUMENTCOMPLETE);
    }
    bool Error(IDispatch* frame = nullptr) {
        return EventArgs()
            .Object(frame ? frame : &browser)
            .Text(L"http://banner.test/ssh/1.html")
            .Text(nullptr)
            .Text(nullptr)
            .Cancel()
            .Fire(*host, DISPID_NAVIGATEERROR);
    }
    // The program asks for a page and the control starts loading it.
    void Load(const char* url = "http://banner.test/ssh/1.html") {
        host->Navigate(url);
        Navigation(std::wstring(url, url + std::char_traits<char>::length(url)).c_str());
    }

    FakeClock clock;
    HWND parent = nullptr;
    FakeObject body, style, root, document;
    FakeBrowser browser;
    std::vector<std::string> log;
    int documents = 0, downloads = 0;
    std::unique_ptr<TWebBrowserHost> host;
};

TEST(WebBrowserHost, SetsUpTheControlSilentAndWithoutBars) {
    Rig rig;
    const std::vector<std::wstring> want{L"MenuBar=false", L"StatusBar=false", L"AddressBar=false",
                                         L"Silent=true", L"RegisterAsDropTarget=false"};
    EXPECT_EQ(rig.browser.calls, want);
    ASSERT_NE(rig.host->Window(), nullptr);
    EXPECT_EQ(::GetParent(rig.host->Window()), rig.parent);
    EXPECT_FALSE(rig.host->PageShown());  // plain until a page has loaded
    // The window covers the strip; the control lies in it at the view's offset and is clipped to it.
    const auto placed = [&] {
        RECT r;
        ::GetWindowRect(rig.host->Window(), &r);
        ::MapWindowPoints(HWND_DESKTOP, rig.parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    EXPECT_TRUE(Same(placed(), RECT{0, 169, 442, 259}));
    IOleInPlaceSite* site = nullptr;
    ASSERT_EQ(rig.host->Site()->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&site)), S_OK);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position, clip;
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    ASSERT_EQ(site->GetWindowContext(&frame, &document, &position, &clip, &info), S_OK);
    EXPECT_TRUE(Same(position, RECT{-16, -16, 570, 123}));
    EXPECT_TRUE(Same(clip, RECT{0, 0, 442, 90}));
    EXPECT_EQ(info.hwndFrame, rig.parent);
    frame->Release();
    site->Release();
    // The strip follows the window's bottom edge while it slides up, by itself.
    ::SetWindowPos(rig.parent, nullptr, 0, 0, 442, 130, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(Same(placed(), RECT{0, 40, 442, 130}));
    ::SetWindowPos(rig.parent, nullptr, 0, 0, 442, 259, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(Same(placed(), RECT{0, 169, 442, 259}));
    rig.host->Place(RECT{0, 100, 442, 190});
    EXPECT_TRUE(Same(placed(), RECT{0, 100, 442, 190}));
}

TEST(WebBrowserHost, NavigationsAreCancelledAsTheSharedRulesSay) {
    // The same addresses the core's rules are checked with; the host must agree with them for the
    // whole view and for frames alike.
    const wchar_t* urls[] = {
        L"http://banner.test/ssh/a.html", L"https://banner.test/x", L"about:blank",
        L"file:///C:/Windows/win.ini",    L"javascript:alert(1)",   L"res://ieframe.dll/navcancl.htm",
        L"mailto:x@banner.test",          L"data:text/html,x",      L"\\\\server\\share\\x.html",
        L"ftp://banner.test/x.exe",       L"vbscript:msgbox(1)",    L"about:home"};
    Rig rig;
    FakeObject frame;
    for (const wchar_t* url : urls) {
        const std::wstring w(url);
        const bool allowed = TBannerRules::NavigationAllowed(std::string(w.begin(), w.end()));
        EXPECT_EQ(rig.Navigation(url), !allowed) << std::string(w.begin(), w.end());
        EXPECT_EQ(rig.Navigation(url, &frame), !allowed) << "in a frame: " << std::string(w.begin(), w.end());
    }
    EXPECT_FALSE(rig.Navigation(L"http://banner.test/ssh/a.html"));
    EXPECT_TRUE(rig.Navigation(L"file:///C:/x.html"));
}

TEST(WebBrowserHost, RequestsABannerNeverGrantsAreRefused) {
    struct Case {
        const char* name;
        DISPID id;
        std::function<EventArgs()> args;
        bool cancelled;
    };
    FakeObject other;
    const Case cases[] = {
        {"new window", DISPID_NEWWINDOW2, [&] { return EventArgs().Object(&other).Cancel(); }, true},
        {"new window (3)", DISPID_NEWWINDOW3,
         [&] {
             return EventArgs().Object(&other).Cancel().Flag(false).Text(L"http://a/").Text(L"http://b/");
         },
         true},
        {"the page closes its window", DISPID_WINDOWCLOSING, [&] { return EventArgs().Flag(false).Cancel(); },
         true},
        {"a file download", DISPID_FILEDOWNLOAD, [&] { return EventArgs().Flag(false).Cancel(); }, true},
        {"a page to show", DISPID_FILEDOWNLOAD, [&] { return EventArgs().Flag(true).Cancel(); }, false},
    };
    Rig rig;
    for (const Case& c : cases) {
        EventArgs args = c.args();
        EXPECT_EQ(args.Fire(*rig.host, c.id), c.cancelled) << c.name;
        EXPECT_EQ(args.Result(), S_OK) << c.name;
    }
    EXPECT_TRUE(rig.log.empty());
}

// The user's own left click on the page sends what it asks for to the user's web browser, once; what the
// page does by itself stays under the strip's rules and opens nothing.
TEST(WebBrowserHost, ClicksOnThePageOpenTheUsersBrowser) {
    enum Input { NoInput, LeftClick, RightClick, LeftPressOnly, LeftClickOutside };
    enum Kind { NewWindow3, NewWindow3Unsigned, NewWindow2, Navigation, FrameNavigation };
    const std::wstring shop = L"http://shop.test/offer.html?a=1";
    const std::string host = TWBManage::AdHost();
    const std::wstring banner = L"http://" + std::wstring(host.begin(), host.end()) + L"/ssh/2.html";
    struct Row {
        const char* name;
        Input input;
        int64_t laterMs;  // from the click to the event
        Kind kind;
        unsigned long flags;
        std::wstring url;
        bool cancelled;
        bool opened;
    };
    const Row rows[] = {
        {"a link with a target, clicked", LeftClick, 100, NewWindow3, NWMF_USERINITED, shop, true, true},
        {"flags as an unsigned number", LeftClick, 100, NewWindow3Unsigned, NWMF_USERINITED, shop, true,
         true},
        {"a plain link, clicked", LeftClick, 100, Navigation, 0, shop, true, true},
        {"a script's window without a click", NoInput, 100, NewWindow3, NWMF_USERINITED, shop, true, false},
        {"a script's window after a click", LeftClick, 100, NewWindow3, 0, shop, true, false},
        {"a script's window after a right click", RightClick, 100, NewWindow3, NWMF_USERINITED, shop, true,
         false},
        {"a button pressed but not released", LeftPressOnly, 100, NewWindow3, NWMF_USERINITED, shop, true,
         false},
        {"a click elsewhere in the window", LeftClickOutside, 100, Navigation, 0, shop, false, false},
        {"a location change without a click", NoInput, 100, Navigation, 0, shop, false, false},
        {"a location change long after a click", LeftClick, TBannerClicks::kClickSpanMs + 1, Navigation, 0,
         shop, false, false},
        {"a new window long after a click", LeftClick, TBannerClicks::kClickSpanMs + 1, NewWindow3,
         NWMF_USERINITED, shop, true, false},
        {"a file link, clicked", LeftClick, 100, Navigation, 0, L"file:///C:/Windows/win.ini", true, false},
        {"a file link with a target, clicked", LeftClick, 100, NewWindow3, NWMF_USERINITED,
         L"file:///C:/Windows/win.ini", true, false},
        {"a custom scheme, clicked", LeftClick, 100, NewWindow3, NWMF_USERINITED, L"shop-app://buy", true,
         false},
        {"a banner page, clicked: stays in the strip", LeftClick, 100, Navigation, 0, banner, false, false},
        {"a link in a frame, clicked: the frame's own", LeftClick, 100, FrameNavigation, 0, shop, false,
         false},
        {"the older new-window event", LeftClick, 100, NewWindow2, 0, shop, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Rig rig;
        std::vector<std::wstring> opened;
        rig.host->OpenInBrowser = [&](const std::wstring& url) { opened.push_back(url); };
        rig.Load();
        rig.Complete();
        const HWND page = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, rig.host->Window(),
                                            nullptr, nullptr, nullptr);
        MSG msg{};
        msg.hwnd = r.input == LeftClickOutside ? rig.parent : page;
        if (r.input == LeftClick || r.input == LeftClickOutside || r.input == LeftPressOnly) {
            msg.message = WM_LBUTTONDOWN;
            rig.host->FilterMessage(msg);
        }
        if (r.input == LeftClick || r.input == LeftClickOutside) {
            msg.message = WM_LBUTTONUP;
            rig.host->FilterMessage(msg);
        }
        if (r.input == RightClick) {
            msg.message = WM_RBUTTONUP;
            EXPECT_TRUE(rig.host->FilterMessage(msg));
        }
        rig.clock.AddMilliseconds(r.laterMs);
        FakeObject other, frame;
        bool cancelled = false;
        switch (r.kind) {
            case NewWindow3:
            case NewWindow3Unsigned:
                cancelled = EventArgs()
                                .Object(&other)
                                .Cancel()
                                .Number(r.flags, r.kind == NewWindow3 ? VT_I4 : VT_UI4)
                                .Text(L"http://banner.test/ssh/1.html")
                                .Text(r.url.c_str())
                                .Fire(*rig.host, DISPID_NEWWINDOW3);
                break;
            case NewWindow2:
                cancelled = EventArgs().Object(&other).Cancel().Fire(*rig.host, DISPID_NEWWINDOW2);
                break;
            case Navigation:
                cancelled = rig.Navigation(r.url.c_str());
                break;
            case FrameNavigation:
                cancelled = rig.Navigation(r.url.c_str(), &frame);
                break;
        }
        EXPECT_EQ(cancelled, r.cancelled);
        EXPECT_EQ(opened, r.opened ? std::vector<std::wstring>{r.url} : std::vector<std::wstring>{});
        EXPECT_TRUE(rig.host->PageShown());  // the strip keeps its page
        ::DestroyWindow(page);
    }
}

// One click opens one address, however often the page answers it; the next click opens again.
TEST(WebBrowserHost, OneClickOpensTheBrowserOnce) {
    Rig rig;
    std::vector<std::wstring> opened;
    rig.host->OpenInBrowser = [&](const std::wstring& url) { opened.push_back(url); };
    const HWND page = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, rig.host->Window(), nullptr,
                                        nullptr, nullptr);
    MSG up{};
    up.hwnd = page;
    up.message = WM_LBUTTONUP;
    FakeObject other;
    const auto newWindow = [&](const wchar_t* url) {
        return EventArgs()
            .Object(&other)
            .Cancel()
            .Number(NWMF_USERINITED)
            .Text(L"http://banner.test/ssh/1.html")
            .Text(url)
            .Fire(*rig.host, DISPID_NEWWINDOW3);
    };
    rig.host->FilterMessage(up);
    EXPECT_TRUE(newWindow(L"http://shop.test/a"));
    EXPECT_TRUE(newWindow(L"http://shop.test/b"));
    EXPECT_FALSE(rig.Navigation(L"http://shop.test/c"));  // no longer the click's: the strip's rules
    rig.host->FilterMessage(up);
    EXPECT_TRUE(rig.Navigation(L"http://shop.test/d"));
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"http://shop.test/a", L"http://shop.test/d"}));
    ::DestroyWindow(page);
}

TEST(WebBrowserHost, TheEnginesMenusBoxesAndKeysStayAway) {
    Rig rig;
    IDocHostUIHandler* ui = nullptr;
    ASSERT_EQ(rig.host->Site()->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&ui)), S_OK);
    POINT at{10, 10};
    EXPECT_EQ(ui->ShowContextMenu(CONTEXT_MENU_DEFAULT, &at, nullptr, nullptr), S_OK);  // handled: no menu
    MSG key{};
    key.message = WM_KEYDOWN;
    key.wParam = 'P';  // ctrl+P would print
    EXPECT_EQ(ui->TranslateAccelerator(&key, nullptr, 0), S_OK);
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof info;
    ASSERT_EQ(ui->GetHostInfo(&info), S_OK);
    EXPECT_TRUE(info.dwFlags & DOCHOSTUIFLAG_DISABLE_HELP_MENU);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    ui->GetExternal(&external);
    EXPECT_EQ(external, nullptr);  // nothing of ours for the page's script
    ui->Release();

    IDocHostShowUI* show = nullptr;
    ASSERT_EQ(rig.host->Site()->QueryInterface(__uuidof(IDocHostShowUI), reinterpret_cast<void**>(&show)),
              S_OK);
    LRESULT answer = IDOK;
    EXPECT_EQ(
        show->ShowMessage(nullptr, const_cast<LPOLESTR>(L"hi"), nullptr, MB_OKCANCEL, nullptr, 0, &answer),
        S_OK);  // the page's alert or confirm is not shown
    EXPECT_EQ(answer, IDCANCEL);
    show->Release();

    IDispatch* ambient = nullptr;
    ASSERT_EQ(rig.host->Site()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient)), S_OK);
    VARIANT flags;
    ::VariantInit(&flags);
    DISPPARAMS none{};
    ASSERT_EQ(ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &flags,
                              nullptr, nullptr),
              S_OK);
    ambient->Release();
    ASSERT_EQ(flags.vt, VT_I4);
    EXPECT_TRUE(flags.lVal & DLCTL_NO_RUNACTIVEXCTLS);
    EXPECT_TRUE(flags.lVal & DLCTL_NO_DLACTIVEXCTLS);
    EXPECT_TRUE(flags.lVal & DLCTL_NO_JAVA);
    EXPECT_TRUE(flags.lVal & DLCTL_SILENT);
}

TEST(WebBrowserHost, RightClicksAimedAtThePageAreSwallowed) {
    Rig rig;
    const HWND inside = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, rig.host->Window(),
                                          nullptr, nullptr, nullptr);
    const HWND deeper =
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, inside, nullptr, nullptr, nullptr);
    const HWND outside =
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, rig.parent, nullptr, nullptr, nullptr);
    struct Case {
        HWND window;
        UINT message;
        bool swallowed;
    };
    const Case cases[] = {
        {inside, WM_RBUTTONDOWN, true},   {inside, WM_RBUTTONUP, true},      {deeper, WM_CONTEXTMENU, true},
        {deeper, WM_RBUTTONDOWN, true},   {inside, WM_RBUTTONDBLCLK, true},  {inside, WM_LBUTTONDOWN, false},
        {inside, WM_LBUTTONUP, false},    {inside, WM_MOUSEMOVE, false},     {outside, WM_RBUTTONDOWN, false},
        {outside, WM_CONTEXTMENU, false}, {rig.parent, WM_RBUTTONUP, false},
    };
    for (const Case& c : cases) {
        MSG msg{};
        msg.hwnd = c.window;
        msg.message = c.message;
        EXPECT_EQ(rig.host->FilterMessage(msg), c.swallowed) << c.message;
    }
    // Any loop of the thread takes them through the host's hook: a swallowed one arrives as nothing.
    for (const Case& c : cases) {
        ::PostMessageA(c.window, c.message, 0, 0);
        MSG msg{};
        ASSERT_TRUE(::PeekMessageA(&msg, c.window, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, c.swallowed ? static_cast<UINT>(WM_NULL) : c.message) << c.message;
    }
    ::DestroyWindow(inside);
    ::DestroyWindow(outside);
}

TEST(WebBrowserHost, ThePageShowsOnceLoadedAndEveryDocumentReachesTheManager) {
    Rig rig;
    rig.host->Navigate("http://banner.test/ssh/1.html?q=\xE4\xB8\xAD");  // UTF-8 in, UTF-16 to the control
    ASSERT_EQ(rig.browser.navigations.size(), 1u);
    EXPECT_EQ(rig.browser.navigations[0], L"http://banner.test/ssh/1.html?q=\x4E2D");
    FakeObject frame;
    rig.Complete(&frame);  // a frame finishes first: the manager hears of it, the view stays plain
    EXPECT_EQ(rig.documents, 1);
    EXPECT_FALSE(rig.host->PageShown());
    rig.Complete();
    EXPECT_EQ(rig.documents, 2);
    EXPECT_TRUE(rig.host->PageShown());
    EventArgs().Fire(*rig.host, DISPID_DOWNLOADCOMPLETE);
    EventArgs().Fire(*rig.host, DISPID_DOWNLOADCOMPLETE);
    EXPECT_EQ(rig.downloads, 2);
    rig.Load("http://banner.test/ssh/2.html");  // the shown page stays while the next one loads
    EXPECT_TRUE(rig.host->PageShown());
    EXPECT_TRUE(rig.log.empty());
}

TEST(WebBrowserHost, FailuresLeaveTheStripPlainAndAreLoggedOnce) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> fail;
        const char* logged;  // the start of the one line
        int stops;
    };
    const Case cases[] = {
        {"the page could not be loaded", [](Rig& r) { EXPECT_TRUE(r.Error()); },
         "banner: http://banner.test/ssh/1.html could not be loaded", 0},
        {"no document (an engine that has none)",
         [](Rig& r) {
             r.browser.document = nullptr;
             r.Complete();
         },
         "banner: http://banner.test/ssh/1.html gave no document", 0},
        {"still loading at the deadline",
         [](Rig& r) {
             const std::size_t before = r.log.size();
             r.clock.AddMilliseconds(TBannerPage::kDeadlineMs - 1);
             r.host->CheckDeadline();
             EXPECT_EQ(r.log.size(), before);
             r.clock.AddMilliseconds(1);
             r.host->CheckDeadline();
         },
         "banner: http://banner.test/ssh/1.html was not complete after 20 s", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.Load();
        rig.Complete();  // a first page shows
        ASSERT_TRUE(rig.host->PageShown());
        rig.log.clear();
        const int documents = rig.documents;
        rig.Load();
        c.fail(rig);
        EXPECT_FALSE(rig.host->PageShown());
        ASSERT_EQ(rig.log.size(), 1u);
        EXPECT_EQ(rig.log[0].rfind(c.logged, 0), 0u) << rig.log[0];
        EXPECT_EQ(rig.browser.stops, c.stops);
        EXPECT_EQ(rig.documents, documents);  // a failed page never reaches the manager
        // The next pages fail the same way: nothing more in the log. A late completion of the failed
        // page does not show it.
        for (int i = 0; i < 3; ++i) {
            rig.Load();
            c.fail(rig);
        }
        rig.Complete();
        EXPECT_FALSE(rig.host->PageShown());
        EXPECT_EQ(rig.log.size(), 1u);
        // Steps on a failed page find nothing to work on: the manager's error boxes never come.
        bool answered = false;
        rig.host->RunDocumentSteps(true, [&](const TDocumentSteps&) { answered = true; });
        EXPECT_FALSE(answered);
    }
}

TEST(WebBrowserHost, AddressesThatAreNoWebPagesAreNotLoaded) {
    Rig rig;
    rig.host->Navigate("file:///C:/Windows/win.ini");
    EXPECT_TRUE(rig.browser.navigations.empty());
    ASSERT_EQ(rig.log.size(), 1u);
    EXPECT_FALSE(rig.host->PageShown());
}

TEST(WebBrowserHost, HandlerErrorsNeverUnwindThroughTheControl) {
    Rig rig;
    std::vector<std::string> shown;
    rig.host->RunHandler = [&](const std::function<void()>& handler) {
        try {
            handler();
            return true;
        } catch (const std::exception& e) {
            shown.push_back(e.what());
            return false;
        }
    };
    rig.host->OnDocumentComplete = [] { throw std::runtime_error("The banner page has no body"); };
    rig.Load();
    EventArgs complete;
    complete.Object(&rig.browser).Text(L"http://banner.test/ssh/1.html");
    complete.Fire(*rig.host, DISPID_DOCUMENTCOMPLETE);
    EXPECT_EQ(complete.Result(), S_OK);
    EXPECT_EQ(shown, std::vector<std::string>{"The banner page has no body"});
    rig.host->RunHandler = nullptr;  // without a handler of the program's, the error is logged
    rig.host->OnDownloadComplete = [] { throw std::runtime_error("boom"); };
    EventArgs().Fire(*rig.host, DISPID_DOWNLOADCOMPLETE);
    EXPECT_EQ(rig.log.back(), "banner: boom");
}

// The steps on the current document, for documents of each shape.
TEST(WebBrowserHost, DocumentStepsFindTheNextAddress) {
    enum Shape { Full, NoBody, NoStyle, NotHtml, NoField, NotInput };
    struct Case {
        const char* name;
        Shape shape;
        bool read;
        TDocumentSteps::Outcome outcome;
        std::string value;
        std::vector<std::wstring> bodyWrites, styleWrites;
    };
    const std::vector<std::wstring> scroll{L"scroll=no"}, overflow{L"overflow=hidden"}, none;
    const Case cases[] = {
        {"an input field", Full, true, TDocumentSteps::NextUrlValue,
         "http://banner.test/ssh/\xE4\xB8\xAD.html", scroll, overflow},
        {"styles only", Full, false, TDocumentSteps::Styled, "", scroll, overflow},
        {"no body", NoBody, true, TDocumentSteps::NoBody, "", none, none},
        {"no style", NoStyle, true, TDocumentSteps::NoStyle, "", scroll, none},
        {"not an HTML document", NotHtml, true, TDocumentSteps::NoDocument, "", scroll, overflow},
        {"no nextUrl element", NoField, true, TDocumentSteps::NoNextUrl, "", scroll, overflow},
        {"nextUrl is not an input field", NotInput, true, TDocumentSteps::NotInput, "", scroll, overflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        FakeObject all, field;
        field.kinds = {IID_IHTMLInputElement};
        field.texts[L"value"] = L"http://banner.test/ssh/\x4E2D.html";
        std::vector<std::wstring> asked;
        all.item = [&](const VARIANT& name, const VARIANT& index) -> FakeObject* {
            asked.push_back(std::wstring(name.vt == VT_BSTR ? name.bstrVal : L"?") + L"," +
                            std::to_wstring(index.vt == VT_I4 ? index.lVal : -1));
            return c.shape == NoField ? nullptr : &field;
        };
        rig.document.members[L"all"] = &all;
        if (c.shape == NoBody) rig.document.members.erase(L"body");
        if (c.shape == NoStyle) rig.root.members.clear();
        if (c.shape == NotHtml) rig.document.kinds.clear();
        if (c.shape == NotInput) field.kinds.clear();
        rig.Load();
        rig.Complete();
        std::vector<TDocumentSteps> answers;
        rig.host->RunDocumentSteps(c.read, [&](const TDocumentSteps& s) { answers.push_back(s); });
        ASSERT_EQ(answers.size(), 1u);  // answered at once
        EXPECT_EQ(answers[0].Result, c.outcome);
        EXPECT_EQ(answers[0].Value, c.value);
        EXPECT_EQ(rig.body.writes, c.bodyWrites);
        EXPECT_EQ(rig.style.writes, c.styleWrites);
        if (c.outcome == TDocumentSteps::NextUrlValue) {
            EXPECT_EQ(asked, std::vector<std::wstring>{L"nextUrl,0"});
        }
        // Every reference the host took on the page's objects was given back.
        for (const FakeObject* o : {&rig.document, &rig.body, &rig.root, &rig.style, &all, &field})
            EXPECT_EQ(o->refs, 1u);
    }
}

TEST(WebBrowserHost, GivesBackTheControlWhenItGoes) {
    auto rig = std::make_unique<Rig>();
    rig->Load();
    rig->Complete();
    const HWND view = rig->host->Window();
    rig->host.reset();
    EXPECT_EQ(rig->browser.refs, 1u);
    EXPECT_EQ(rig->document.refs, 1u);
    EXPECT_FALSE(::IsWindow(view));
}

// The system's own control. Under Wine it is created and navigates, but never finishes a page (no
// browser engine): the page is failed at its deadline, the strip stays plain and one line is logged.
TEST(WebBrowserHost, TheSystemControlLeavesTheStripPlainWhenNoPageComes) {
    FakeClock clock(SysUtils::EncodeDate(2026, 12, 10) + SysUtils::EncodeTime(12, 0, 0, 0));
    const HWND parent =
        ::CreateWindowExA(0, "STATIC", "strip", WS_POPUP, 0, 0, 442, 90, nullptr, nullptr, nullptr, nullptr);
    std::vector<std::string> log;
    auto host = TWebBrowserHost::Create(parent, RECT{0, 0, 442, 90}, RECT{-16, -16, 570, 123},
                                        [&](const std::string& line) { log.push_back(line); });
    // Wine has the control (only no engine behind it), so there the creation itself must work.
    if (testhost::UnderWine()) {
        ASSERT_NE(host, nullptr) << (log.empty() ? "" : log[0]);
    }
    if (!host) {  // a system without the control: the reason, once
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find("is not available"), std::string::npos) << log[0];
    } else {
        EXPECT_TRUE(log.empty());
        host->Navigate("http://127.0.0.1:9/ssh/none.html");
        EXPECT_FALSE(host->PageShown());
        clock.AddMilliseconds(TBannerPage::kDeadlineMs);
        host->CheckDeadline();
        EXPECT_FALSE(host->PageShown());
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind("banner: http://127.0.0.1:9/ssh/none.html", 0), 0u) << log[0];
        host->Navigate("http://127.0.0.1:9/ssh/none.html");
        clock.AddMilliseconds(TBannerPage::kDeadlineMs);
        host->CheckDeadline();
        EXPECT_EQ(log.size(), 1u);
        host.reset();
    }
    ::DestroyWindow(parent);
}

}  // namespace
