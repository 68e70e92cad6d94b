// What the banner's browser may load, which next-page addresses are taken, and how the strip follows
// its page through loads, failures and the deadline (with the once-only report).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/uBannerRules.h"

namespace {

struct AddressCase {
    const char* url;
    bool allowed;
};

const AddressCase kNavigations[] = {
    {"http://banner.test:8080/ssh/a.html", true},
    {"https://banner.test/ssh/a.html", true},
    {"HTTP://banner.test/x", true},
    {"HtTpS://banner.test/x", true},
    {"http:relative", true},  // the scheme decides; the engine resolves the rest
    {"about:blank", true},
    {"ABOUT:blank", true},
    {"about:blank#top", false},
    {"about:home", false},
    {"about:", false},
    {"file:///etc/passwd", false},
    {"FILE://C:/Windows/win.ini", false},
    {"C:\\Windows\\win.ini", false},  // a drive letter is no scheme of ours
    {"\\\\server\\share\\page.html", false},
    {"/etc/passwd", false},
    {"javascript:alert(1)", false},
    {"vbscript:msgbox(1)", false},
    {"data:text/html,<b>x</b>", false},
    {"res://ieframe.dll/navcancl.htm", false},  // the engine's own error page
    {"mailto:someone@banner.test", false},
    {"ftp://banner.test/file.exe", false},
    {"mk:@MSITStore:x.chm::/a.htm", false},
    {"httpx://banner.test/", false},
    {"http", false},
    {" http://banner.test/", false},  // not a scheme once blanks lead
    {"1http://banner.test/", false},
    {"", false},
};

TEST(BannerRules, NavigationAllowsWebPagesAndTheBlankPageOnly) {
    for (const AddressCase& c : kNavigations)
        EXPECT_EQ(TBannerRules::NavigationAllowed(c.url), c.allowed) << c.url;
}

TEST(BannerRules, NextUrlNeedsAWebAddressHoldingThePattern) {
    const char kPattern[] = "banner.test:8080/ssh";
    const AddressCase cases[] = {
        {"http://banner.test:8080/ssh/n.html", true},
        {"https://banner.test:8080/ssh/n.html", true},
        {"HTTP://banner.test:8080/ssh/n", true},
        {"http://x.invalid/?u=banner.test:8080/ssh", true},  // anywhere, even in a query
        {"http://banner.test:8080/sshop", true},
        {"http://x.invalid/ssh/n.html", false},
        {"http://banner.test:8080/n.html", false},
        {"http://BANNER.test:8080/ssh/n.html", false},  // byte for byte, with case
        {"http://banner.test:8080/SSH/n.html", false},
        {"file:///banner.test:8080/ssh", false},
        {"javascript:'banner.test:8080/ssh'", false},
        {"banner.test:8080/ssh/n.html", false},
        {" http://banner.test:8080/ssh/n.html", false},
        {"", false},
    };
    for (const AddressCase& c : cases)
        EXPECT_EQ(TBannerRules::NextUrlAcceptable(c.url, kPattern), c.allowed) << c.url;
}

TEST(BannerRules, OnlyWebAddressesOfOtherSitesGoToTheBrowser) {
    const char kPattern[] = "banner.test:8080/ssh";
    const AddressCase cases[] = {
        {"http://shop.test/offer.html", true},
        {"HTTPS://shop.test/offer.html", true},
        {"http://banner.test:8080/landing.html", true},  // the server's host, but no banner page
        {"http://banner.test:8080/ssh/2.html", false},   // a banner page stays in the strip
        {"http://shop.test/?from=banner.test:8080/ssh", false},
        {"file:///etc/passwd", false},
        {"javascript:open('http://shop.test/')", false},
        {"data:text/html,<a href=http://shop.test/>", false},
        {"mailto:sales@shop.test", false},
        {"shop-app://buy", false},
        {"about:blank", false},
        {"ftp://shop.test/", false},
        {"", false},
    };
    for (const AddressCase& c : cases)
        EXPECT_EQ(TBannerRules::OpensInBrowser(c.url, kPattern), c.allowed) << c.url;
}

// What the navigations after the user's clicks become.
TEST(BannerClicks, OnlyTheUsersOwnClickOpensTheBrowserOnce) {
    using N = TPageNavigation;
    const char kShop[] = "http://shop.test/offer.html";
    const char kBanner[] = "http://banner.test:8080/ssh/2.html";
    struct Row {
        const char* name;
        int64_t clickAt;  // -1: no click
        const char* url;
        bool newWindow;
        bool userAction;
        int64_t at;
        N want;
    };
    const Row rows[] = {
        {"a link with a target, clicked", 1000, kShop, true, true, 1200, N::OpenInBrowser},
        {"a plain link, clicked", 1000, kShop, false, true, 1200, N::OpenInBrowser},
        {"the click's navigation at the end of the span", 1000, kShop, false, true, 6000, N::OpenInBrowser},
        {"a script's window, no click", -1, kShop, true, true, 1200, N::Refuse},
        {"a script's window, the engine sees no user", 1000, kShop, true, false, 1200, N::Refuse},
        {"a timed location change, no click", -1, kShop, false, false, 1200, N::Load},
        {"a location change the engine calls a link, no click", -1, kShop, false, true, 1200, N::Load},
        {"a location change just after a click, no user action", 1000, kShop, false, false, 1200, N::Load},
        {"too long after the click", 1000, kShop, false, true, 6001, N::Load},
        {"too long after the click, a new window", 1000, kShop, true, true, 6001, N::Refuse},
        {"the clock was put back", 5000, kShop, false, true, 4000, N::Load},
        {"a click on a file link", 1000, "file:///etc/passwd", false, true, 1200, N::Refuse},
        {"a click on a file link with a target", 1000, "file:///etc/passwd", true, true, 1200, N::Refuse},
        {"a click on a custom scheme", 1000, "shop-app://buy", false, true, 1200, N::Refuse},
        {"a click on a javascript link", 1000, "javascript:void(0)", false, true, 1200, N::Refuse},
        {"a click on a banner page", 1000, kBanner, false, true, 1200, N::Load},
        {"a click on a banner page with a target", 1000, kBanner, true, true, 1200, N::Refuse},
        {"a redirect, no click", -1, kShop, false, false, 1200, N::Load},
    };
    for (const Row& r : rows) {
        TBannerClicks clicks;
        clicks.SetPattern("banner.test:8080/ssh");
        if (r.clickAt >= 0) clicks.LeftClick(r.clickAt);
        EXPECT_EQ(clicks.Navigation(r.url, r.newWindow, r.userAction, r.at), r.want) << r.name;
    }
}

TEST(BannerClicks, OneClickOpensOneAddress) {
    using N = TPageNavigation;
    TBannerClicks clicks;
    clicks.SetPattern("banner.test:8080/ssh");
    clicks.LeftClick(1000);
    EXPECT_EQ(clicks.Navigation("http://shop.test/a", true, true, 1100), N::OpenInBrowser);
    // The page answers the same click again (a second window, then a location change): used up.
    EXPECT_EQ(clicks.Navigation("http://shop.test/b", true, true, 1200), N::Refuse);
    EXPECT_EQ(clicks.Navigation("http://shop.test/c", false, true, 1300), N::Load);
    clicks.LeftClick(2000);  // a second click opens again
    EXPECT_EQ(clicks.Navigation("http://shop.test/d", false, true, 2100), N::OpenInBrowser);
    // A click whose navigation stays in the strip or is refused is used up as well.
    clicks.LeftClick(3000);
    EXPECT_EQ(clicks.Navigation("file:///x", false, true, 3100), N::Refuse);
    EXPECT_EQ(clicks.Navigation("http://shop.test/e", true, true, 3200), N::Refuse);
}

TEST(BannerClicks, NothingOpensUntilBannerPagesAreKnown) {
    TBannerClicks clicks;  // no pattern yet: every web address counts as a banner page
    clicks.LeftClick(1000);
    EXPECT_EQ(clicks.Navigation("http://shop.test/a", false, true, 1100), TPageNavigation::Load);
    clicks.LeftClick(2000);
    EXPECT_EQ(clicks.Navigation("http://shop.test/a", true, true, 2100), TPageNavigation::Refuse);
}

// A run of events against one page, with what the strip shows and reports after each.
enum Event {
    Request,
    RequestFile,
    Navigation,
    Complete,
    CompleteNoDocument,
    Fail,
    Tick19s,
    Tick20s,
    Unavailable,
    Gone
};

struct Step {
    Event event;
    bool visible;
    bool loading;
    const char* report;  // the start of the line reported, or "" for none
    bool stop = false;
};

struct PageCase {
    const char* name;
    std::vector<Step> steps;
};

const char kPage[] = "http://banner.test/ssh/1.html";

void RunPage(const PageCase& c) {
    TBannerPage page;
    int64_t now = 1000000;
    int64_t started = now;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        const Step& s = c.steps[i];
        SCOPED_TRACE(std::string(c.name) + ", step " + std::to_string(i + 1));
        TBannerPage::TAction a;
        switch (s.event) {
            case Request:
                started = now;
                a = page.Request(kPage, now);
                EXPECT_TRUE(a.Load);
                break;
            case RequestFile:
                a = page.Request("file:///C:/x.html", now);
                EXPECT_FALSE(a.Load);
                break;
            case Navigation:
                started = now;
                EXPECT_TRUE(page.Navigation(kPage, now));
                break;
            case Complete:
                a = page.Complete(true);
                break;
            case CompleteNoDocument:
                a = page.Complete(false);
                break;
            case Fail:
                a = page.Fail();
                break;
            case Tick19s:
                now = started + 19999;
                a = page.Tick(now);
                break;
            case Tick20s:
                now = started + 20000;
                a = page.Tick(now);
                break;
            case Unavailable:
                a = page.Unavailable("class not registered");
                break;
            case Gone:
                a = page.Gone();
                break;
        }
        EXPECT_EQ(page.Visible(), s.visible);
        EXPECT_EQ(page.Loading(), s.loading);
        EXPECT_EQ(a.Stop, s.stop);
        EXPECT_EQ(a.Report.substr(0, std::string(s.report).size()), s.report);
        EXPECT_EQ(a.Report.empty(), std::string(s.report).empty()) << a.Report;
        now += 10;
    }
}

TEST(BannerPage, StripFollowsThePage) {
    const char kLate[] = "banner: http://banner.test/ssh/1.html was not complete after 20 s";
    const char kFailed[] = "banner: http://banner.test/ssh/1.html could not be loaded";
    const PageCase cases[] = {
        {"plain until the page has loaded", {{Request, false, true, ""}, {Complete, true, false, ""}}},
        {"the shown page stays while the next loads",
         {{Request, false, true, ""},
          {Complete, true, false, ""},
          {Request, true, true, ""},
          {Complete, true, false, ""}}},
        {"not complete at the deadline: failed and stopped, reported once",
         {{Request, false, true, ""},
          {Tick19s, false, true, ""},
          {Tick20s, false, false, kLate, true},
          {Tick20s, false, false, ""},
          {Request, false, true, ""},
          {Tick20s, false, false, "", true}}},
        {"a late completion does not bring a failed page back",
         {{Request, false, true, ""}, {Tick20s, false, false, kLate, true}, {Complete, false, false, ""}}},
        {"a failed page, then the next one loads: a new failure is reported again",
         {{Request, false, true, ""},
          {Fail, false, false, kFailed},
          {Request, false, true, ""},
          {Fail, false, false, ""},
          {Request, false, true, ""},
          {Complete, true, false, ""},
          {Request, true, true, ""},
          {Fail, false, false, kFailed}}},
        {"a completion without a document is a failure",
         {{Request, false, true, ""},
          {CompleteNoDocument, false, false, "banner: http://banner.test/ssh/1"}}},
        {"a page that navigates itself is loading again",
         {{Request, false, true, ""},
          {Complete, true, false, ""},
          {Navigation, true, true, ""},
          {Tick20s, false, false, kLate, true}}},
        {"an address that is not a web page is not loaded",
         {{RequestFile, false, false, "banner: file:///C:/x.html is not a web address"}}},
        {"no engine: reported once, and the pages after it stay silent",
         {{Unavailable, false, false,
           "banner: the web browser control (class not registered) is not available"},
          {Request, false, true, ""},
          {Tick20s, false, false, "", true},
          {Request, false, true, ""},
          {Fail, false, false, ""}}},
        {"a failure before any page is loaded",
         {{Fail, false, false, "banner: the page could not be loaded"}}},
        {"the engine goes with a loaded page: plain until the next page has loaded",
         {{Request, false, true, ""},
          {Complete, true, false, ""},
          {Gone, false, false, ""},
          {Request, false, true, ""},
          {Complete, true, false, ""}}},
        {"the engine goes while a page loads: failed, reported once",
         {{Request, false, true, ""},
          {Gone, false, false, kFailed},
          {Gone, false, false, ""},
          {Request, false, true, ""},
          {Gone, false, false, ""},
          {Tick20s, false, false, ""}}},
    };
    for (const PageCase& c : cases) RunPage(c);
}

TEST(BannerPage, DeadlineCountsFromTheLastNavigationAndSurvivesAClockPutBack) {
    TBannerPage page(5000);
    page.Request(kPage, 10000);
    EXPECT_EQ(page.Deadline(), 15000);
    EXPECT_TRUE(page.Navigation(kPage, 12000));  // a redirect starts the count again
    EXPECT_EQ(page.Deadline(), 17000);
    EXPECT_FALSE(page.Navigation("file:///x", 13000));  // refused: changes nothing
    EXPECT_EQ(page.Deadline(), 17000);
    EXPECT_TRUE(page.Tick(16999).Report.empty());
    EXPECT_TRUE(page.Tick(1000).Report.empty());  // the clock went back: counts from there
    EXPECT_TRUE(page.Loading());
    EXPECT_TRUE(page.Tick(5999).Report.empty());
    EXPECT_TRUE(page.Tick(6000).Stop);
    EXPECT_FALSE(page.Loading());
}

}  // namespace
