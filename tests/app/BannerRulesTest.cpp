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
    Unavailable
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
