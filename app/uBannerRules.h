#pragma once
// What the banner's browser may do, and when the strip shows its page. Both programs' browsers (the
// Linux helper's engine and the Windows browser control) ask here and only carry the answer out, so
// the two banners refuse and show exactly the same things.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

class TBannerRules {
public:
    // Whether the browser may load an address, whoever asks (the program, a link, a script, a frame):
    // http and https pages and the blank page. Local files, script and data addresses, other
    // programs' schemes and the engine's own error pages are refused.
    static bool NavigationAllowed(std::string_view url);
    // Whether a page's next-page address is taken: an http or https address that contains the
    // acceptance pattern, byte for byte, anywhere.
    static bool NextUrlAcceptable(std::string_view url, std::string_view pattern);
    // Whether an address may go to the user's web browser: an http or https address that is not a
    // banner page (a banner page is one whose address NextUrlAcceptable takes). Nothing else ever
    // reaches the desktop's handler for addresses.
    static bool OpensInBrowser(std::string_view url, std::string_view pattern);
};

// What becomes of a navigation that the banner's page starts (a link, a form, a script, a timer).
enum class TPageNavigation {
    Load,           // goes ahead where the page asked, under the rules above
    OpenInBrowser,  // does not go ahead here: the user's web browser opens the address
    Refuse,         // nothing happens
};

// The user's left clicks on the banner page and the navigations that follow them. A person who clicks an
// advertisement expects the advertised page in their own web browser, while the strip keeps its page; a
// page that acts by itself opens nothing. A navigation counts as the click's when the engine says a user
// action started it (a link followed, a form sent, a window asked for in answer to a click) and the view
// saw a left click on the page shortly before; the first such navigation uses the click up, so one click
// opens the browser at most once.
class TBannerClicks {
public:
    // How long after a click the engine's navigation may come (the engine hands the click to the page
    // and the page answers it asynchronously; a loaded machine takes a while).
    static constexpr int64_t kClickSpanMs = 5000;

    explicit TBannerClicks(int64_t spanMs = kClickSpanMs) : spanMs_(spanMs) {}

    // The address text of banner pages (the advertising server's host followed by "/ssh"); until it is
    // known every web address counts as a banner page, and nothing opens outside.
    void SetPattern(std::string pattern) { pattern_ = std::move(pattern); }
    // The user's left button went up over the page.
    void LeftClick(int64_t nowMs);
    // A navigation of the whole view, or a new window the page asks for (newWindow: a link with a
    // target, window.open; the strip never opens one). userAction: the engine's word that a user's
    // action started it. Frames inside the page do not come here: they follow the navigation rules.
    TPageNavigation Navigation(std::string_view url, bool newWindow, bool userAction, int64_t nowMs);

private:
    int64_t spanMs_;
    std::string pattern_;
    bool clicked_ = false;
    int64_t clickedAt_ = 0;
};

// The page in the strip. It is shown once it has loaded and stays while the next one loads; before
// the first page, after a failure and when a page is still loading at its deadline the strip is plain (an
// engine that never finishes a page, as under Wine, has failed). The first failure is reported, later ones
// only after a page has loaded again, so a missing engine costs one line in the log and never a box each
// minute.
class TBannerPage {
public:
    static constexpr int64_t kDeadlineMs = 20000;

    // What the browser's host does after an event.
    struct TAction {
        bool Load = false;   // (Request) go ahead and load the address
        bool Stop = false;   // stop the engine's loading
        std::string Report;  // one line for the log; empty when there is nothing to report
    };

    explicit TBannerPage(int64_t deadlineMs = kDeadlineMs) : deadlineMs_(deadlineMs) {}

    // The program asks for a page.
    TAction Request(std::string_view url, int64_t nowMs);
    // The engine starts loading a page in the whole view (a program request, a link, a redirect, a
    // script): whether it may. An allowed one counts as loading from now.
    bool Navigation(std::string_view url, int64_t nowMs);
    // The page in the whole view has finished loading; hasDocument: the engine offers its document.
    TAction Complete(bool hasDocument);
    // The page in the whole view could not be loaded.
    TAction Fail();
    // The time has moved on: a page still loading at its deadline has failed.
    TAction Tick(int64_t nowMs);
    // The engine cannot be used at all (not installed, cannot be created or activated).
    TAction Unavailable(std::string_view why);
    // The engine went away with its page (let go while the window is hidden, or ended): nothing is
    // shown until a page has loaded again; a page still loading has failed.
    TAction Gone();

    bool Visible() const { return shown_; }
    bool Loading() const { return state_ == Loading_; }
    // The last page failed (or there is no engine) and no navigation has started since.
    bool HasFailed() const { return state_ == Failed; }
    // When the page now loading has to be complete.
    int64_t Deadline() const { return started_ + deadlineMs_; }

private:
    enum State { Idle, Loading_, Loaded, Failed };
    TAction Failure(const std::string& what);

    int64_t deadlineMs_;
    State state_ = Idle;
    std::string url_;  // the page loading or last loaded
    int64_t started_ = 0;
    bool shown_ = false;
    bool reported_ = false;
};
