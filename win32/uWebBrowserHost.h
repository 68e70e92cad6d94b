#pragma once
// The banner strip's browser on Windows: the system's web browser control (CLSID_WebBrowser,
// IWebBrowser2), in-place active in a window of our own inside the strip, behind IBannerBrowser.
// It is hosted the way a banner wants it: silent, no new windows, no context menu, no downloads, no
// dialogs, only http and https pages. What the user's own left click on the page asks for, when it is no
// banner page, opens in the user's web browser instead (the core's TBannerClicks decides). Its page shows
// only once it has loaded; while there is none (no engine, a page that failed or is not complete at its
// deadline) the strip stays plain, and the failure goes to the log once (debugger output and stderr), never
// into a box.
#include <windows.h>
// windows.h first
#include <exdisp.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/uBannerBrowser.h"
#include "app/uBannerRules.h"

class TBrowserSite;

class TWebBrowserHost : public IBannerBrowser {
public:
    using LogFunction = std::function<void(const std::string& line)>;

    // Creates the control in a window of ours over strip (parent's client coordinates, device pixels),
    // the view at view within it (strip coordinates; it may reach beyond the strip, which shows only
    // its own part). None when the control cannot be created or activated; the reason is logged.
    static std::unique_ptr<TWebBrowserHost> Create(HWND parent, const RECT& strip, const RECT& view,
                                                   const LogFunction& log = SystemLog);
    // Hosts a browser made elsewhere (tests hand in a fake; Create the real control).
    TWebBrowserHost(HWND parent, const RECT& strip, const RECT& view, IWebBrowser2* browser,
                    LogFunction log = SystemLog);
    ~TWebBrowserHost() override;
    TWebBrowserHost(const TWebBrowserHost&) = delete;
    TWebBrowserHost& operator=(const TWebBrowserHost&) = delete;

    void Navigate(const std::string& url) override;
    void RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) override;

    // Whether a message is swallowed before it is dispatched: right clicks and context-menu requests
    // aimed at the page (a window inside the view). Every message loop of the thread (the program's,
    // the slide's, a dialog's or a message box's) asks this, through a hook on the messages it takes;
    // the host notes the left clicks on the page on the way.
    bool FilterMessage(const MSG& msg);
    // Opens an address in the user's web browser (the shell's "open"); tests replace it.
    std::function<void(const std::wstring& url)> OpenInBrowser;
    // Runs our handlers of the control's events (the banner manager's, the main window's) so that an
    // error they raise never unwinds through the control: the program's error handler (it shows the
    // message and carries on). Unset: the error is logged.
    std::function<bool(const std::function<void()>&)> RunHandler;

    // Moves the strip's window. It also follows the parent's bottom edge by itself: the strip keeps
    // its distance to it while the window slides up.
    void Place(const RECT& strip);
    // The parent's size changed (the host hears of it by itself): the strip keeps its distance to the
    // parent's bottom edge.
    void FollowParent();
    HWND Window() const { return window_; }  // the strip's window; the page's windows are inside it
    bool PageShown() const;
    // The host's own COM object: the control's client site, UI handler and event sink.
    IUnknown* Site() const;
    // Checks the page's deadline (the host's timer runs this; tests call it after moving the clock).
    void CheckDeadline();

    // Writes a line to the debugger's output and to stderr.
    static void SystemLog(const std::string& line);

private:
    friend class TBrowserSite;
    HRESULT Activate();
    void Apply(const TBannerPage::TAction& action);
    void Guarded(const std::function<void()>& handler);
    bool IsTopLevel(IDispatch* frame) const;
    bool HasDocument() const;
    void ArmDeadline();

    // The control's events, as the site hands them on; the results are the events' Cancel flags.
    bool BeforeNavigate(IDispatch* frame, const std::wstring& url);
    void NewWindow(bool userInitiated, const std::wstring& url);
    void Open(const std::wstring& url);
    bool NavigateError(IDispatch* frame);
    void DocumentComplete(IDispatch* frame);
    void DownloadComplete();

    HWND window_ = nullptr;
    HWND parent_ = nullptr;
    int fromBottom_ = 0;               // the strip's top above the parent's bottom edge
    RECT view_;                        // where the control lies in window_
    IWebBrowser2* browser_ = nullptr;  // one reference, released in the destructor
    TBrowserSite* site_ = nullptr;     // one reference, released in the destructor
    DWORD adviseCookie_ = 0;
    bool oleInitialized_ = false;
    LogFunction log_;
    TBannerPage page_;
    TBannerClicks clicks_;
};
