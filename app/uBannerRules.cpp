#include "app/uBannerRules.h"

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

// The scheme of an absolute address (a letter, then letters, digits, "+", "-" or "." up to the first
// ":"), or nothing when the text does not start with one.
std::string_view Scheme(std::string_view url) {
    const std::size_t colon = url.find(':');
    if (colon == 0 || colon == std::string_view::npos) return {};
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!letter(url[0])) return {};
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = url[i];
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return {};
    }
    return url.substr(0, colon);
}

}  // namespace

bool TBannerRules::NavigationAllowed(std::string_view url) {
    const std::string_view scheme = Scheme(url);
    if (EqualNoCase(scheme, "http") || EqualNoCase(scheme, "https")) return true;
    return EqualNoCase(scheme, "about") && url.substr(scheme.size() + 1) == "blank";
}

bool TBannerRules::NextUrlAcceptable(std::string_view url, std::string_view pattern) {
    // Only web addresses: a file:, javascript: or data: value that happens to hold the pattern would
    // otherwise read local files or run script.
    const bool web = StartsNoCase(url, "http://") || StartsNoCase(url, "https://");
    return web && url.find(pattern) != std::string_view::npos;
}

bool TBannerRules::OpensInBrowser(std::string_view url, std::string_view pattern) {
    const bool web = StartsNoCase(url, "http://") || StartsNoCase(url, "https://");
    return web && !NextUrlAcceptable(url, pattern);
}

void TBannerClicks::LeftClick(int64_t nowMs) {
    clicked_ = true;
    clickedAt_ = nowMs;
}

TPageNavigation TBannerClicks::Navigation(std::string_view url, bool newWindow, bool userAction,
                                          int64_t nowMs) {
    // The engine's word alone is not enough (a script keeps a user's activation for a while, and the
    // keyboard or a middle click count for it too); the click alone neither (a timer that fires just
    // after one). A clock put back counts as no click.
    const bool byClick = userAction && clicked_ && nowMs >= clickedAt_ && nowMs - clickedAt_ <= spanMs_;
    if (byClick) clicked_ = false;  // its first navigation uses the click up, whatever becomes of it
    if (byClick && !pattern_.empty() && TBannerRules::OpensInBrowser(url, pattern_))
        return TPageNavigation::OpenInBrowser;
    if (newWindow) return TPageNavigation::Refuse;
    return TBannerRules::NavigationAllowed(url) ? TPageNavigation::Load : TPageNavigation::Refuse;
}

TBannerPage::TAction TBannerPage::Request(std::string_view url, int64_t nowMs) {
    url_ = std::string(url);
    if (!TBannerRules::NavigationAllowed(url)) return Failure("is not a web address");
    state_ = Loading_;
    started_ = nowMs;
    TAction action;
    action.Load = true;
    return action;
}

bool TBannerPage::Navigation(std::string_view url, int64_t nowMs) {
    if (!TBannerRules::NavigationAllowed(url)) return false;
    url_ = std::string(url);
    state_ = Loading_;
    started_ = nowMs;
    return true;
}

TBannerPage::TAction TBannerPage::Complete(bool hasDocument) {
    // A late completion of a page that has already failed (stopped at its deadline, or after an error)
    // does not bring it back; only a new navigation does.
    if (state_ == Failed) return {};
    if (!hasDocument) return Failure("gave no document");
    state_ = Loaded;
    shown_ = true;
    reported_ = false;
    return {};
}

TBannerPage::TAction TBannerPage::Fail() {
    if (state_ == Failed) return {};
    return Failure("could not be loaded");
}

TBannerPage::TAction TBannerPage::Tick(int64_t nowMs) {
    if (state_ != Loading_) return {};
    if (nowMs < started_) started_ = nowMs;  // the clock was put back: count from now
    if (nowMs - started_ < deadlineMs_) return {};
    TAction action = Failure("was not complete after " + std::to_string(deadlineMs_ / 1000) + " s");
    action.Stop = true;
    return action;
}

TBannerPage::TAction TBannerPage::Unavailable(std::string_view why) {
    url_ = "the web browser control (" + std::string(why) + ")";
    return Failure("is not available");
}

TBannerPage::TAction TBannerPage::Gone() {
    if (state_ == Loading_) return Failure("could not be loaded");
    if (state_ == Loaded) state_ = Idle;
    shown_ = false;
    return {};
}

TBannerPage::TAction TBannerPage::Failure(const std::string& what) {
    state_ = Failed;
    shown_ = false;
    TAction action;
    if (!reported_) {
        action.Report = "banner: " + (url_.empty() ? std::string("the page") : url_) + " " + what +
                        "; the strip stays plain";
        reported_ = true;
    }
    return action;
}
