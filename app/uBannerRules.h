#pragma once
// What the banner's browser may do, and when the strip shows its page. Both programs' browsers (the
// Linux helper's engine and the Windows browser control) ask here and only carry the answer out, so
// the two banners refuse and show exactly the same things.
#include <cstdint>
#include <string>
#include <string_view>

class TBannerRules {
public:
    // Whether the browser may load an address, whoever asks (the program, a link, a script, a frame):
    // http and https pages and the blank page. Local files, script and data addresses, other
    // programs' schemes and the engine's own error pages are refused.
    static bool NavigationAllowed(std::string_view url);
    // Whether a page's next-page address is taken: an http or https address that contains the
    // acceptance pattern, byte for byte, anywhere.
    static bool NextUrlAcceptable(std::string_view url, std::string_view pattern);
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
