#include "app/uWebBrowserManage.h"

#include <cstdlib>

#include "platform/AnsiBytes.h"
#include "platform/Errors.h"
#include "platform/Gbk.h"

#ifndef CHIMEWICK_AD_HOST_DEFAULT
#define CHIMEWICK_AD_HOST_DEFAULT "ad.chimewick.invalid"
#endif

TWBManage::TWBManage(IBannerBrowser* browser) : Browser(browser) {
    // Bars, dialogs and context menus are switched off by the browser itself.
    if (Browser) Browser->OnDocumentComplete = [this] { DocumentComplete(); };
}

TWBManage::~TWBManage() {
    *alive_ = false;
    if (Browser) Browser->OnDocumentComplete = nullptr;
}

std::string TWBManage::AdHost() {
    const char* host = std::getenv("CHIMEWICK_AD_HOST");
    return host && *host ? std::string(host) : std::string(CHIMEWICK_AD_HOST_DEFAULT);
}

AnsiString TWBManage::DefaultPage() {
    return "http://" + AdHost() + "/ssh/TG/tbtg_gd_468_60.html";
}

AnsiString TWBManage::AcceptancePattern() {
    return AdHost() + "/ssh";
}

bool TWBManage::Acceptable(const AnsiString& url) {
    // Only web addresses: a file:, javascript: or data: value that happens to hold the pattern would
    // otherwise read local files or run script.
    const AnsiString scheme = plat::LowerAscii(url.substr(0, 8));
    const bool web = scheme.starts_with("http://") || scheme.starts_with("https://");
    return web && url.find(AcceptancePattern()) != AnsiString::npos;
}

bool TWBManage::IsMenuMessage(uint32_t message) {
    constexpr uint32_t kRightButtonDown = 516, kRightButtonUp = 517, kContextMenu = 123;
    return message == kRightButtonDown || message == kRightButtonUp || message == kContextMenu;
}

void TWBManage::ShowAd() {
    OpenUrl(NextUrl.empty() ? DefaultPage() : NextUrl);
}

void TWBManage::OpenUrl(const AnsiString& url) {
    if (!Browser) return;
    Browser->Navigate(plat::GbkToUtf8(url));
}

void TWBManage::Blank() {
    if (Browser) Browser->Navigate("about:blank");
}

void TWBManage::DocumentComplete() {
    if (!Browser) return;
    Browser->RunDocumentSteps(true, [this, alive = alive_](const TDocumentSteps& steps) {
        if (*alive) TakeNextUrl(steps);
    });
}

void TWBManage::RaiseStepError(const TDocumentSteps& steps) {
    switch (steps.Result) {
        case TDocumentSteps::NoDocument:
            throw Exception("The banner page is not an HTML document");
        case TDocumentSteps::NoBody:
            throw Exception("The banner page has no body");
        case TDocumentSteps::NoStyle:
            throw Exception("The banner page's root element has no style");
        default:
            break;
    }
}

void TWBManage::TakeNextUrl(const TDocumentSteps& steps) {
    RaiseStepError(steps);
    if (steps.Result == TDocumentSteps::NotInput)
        throw Exception("The banner page's element \"nextUrl\" is not an input field");
    if (steps.Result != TDocumentSteps::NextUrlValue) return;  // no such element: keep the address
    NextUrl = plat::Utf8ToGbk(steps.Value);
    if (!Acceptable(NextUrl)) NextUrl.clear();
}
