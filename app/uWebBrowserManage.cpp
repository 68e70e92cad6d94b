#include "app/uWebBrowserManage.h"

#include <cstdlib>

#include "app/uBannerRules.h"
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
    return TBannerRules::NextUrlAcceptable(url, AcceptancePattern());
}

bool TWBManage::IsMenuMessage(TBannerInput input) {
    // A quick second right click arrives as a double click instead of a second press; the page sees
    // none of them, as on Linux.
    return input != TBannerInput::Other;
}

void TWBManage::ShowAd() {
    if (ahead_) {
        // The page made ready ahead is this pop-up's: shown already when it is still held, else loaded
        // as without it.
        ahead_ = false;
        if (Browser) Browser->KeepWhileHidden(false);
        if (Browser && Browser->PageHeld()) return;
        NextUrl = aheadFrom_;
    }
    OpenUrl(NextUrl.empty() ? DefaultPage() : NextUrl);
}

void TWBManage::ReadyAhead(bool wanted, bool windowShown) {
    if (!Browser || windowShown || wanted == ahead_) return;
    ahead_ = wanted;
    Browser->KeepWhileHidden(wanted);
    if (wanted) {
        aheadFrom_ = NextUrl;
        OpenUrl(NextUrl.empty() ? DefaultPage() : NextUrl);
    } else {
        NextUrl = aheadFrom_;
    }
}

void TWBManage::OpenUrl(const AnsiString& url) {
    if (!Browser) return;
    Browser->Navigate(plat::GbkToUtf8(url));
}

void TWBManage::Blank() {
    if (Browser && !ahead_) Browser->Navigate("about:blank");
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
