#include "qt/uBannerBrowserQt.h"

#include <QCoreApplication>

#include "qt/uBannerHelper.h"

namespace {
std::function<std::unique_ptr<IBannerBrowser>(QWidget*)> g_factory;
}

void SetBannerBrowserFactory(std::function<std::unique_ptr<IBannerBrowser>(QWidget*)> factory) {
    g_factory = std::move(factory);
}

std::unique_ptr<IBannerBrowser> CreateBannerBrowser(QWidget* host) {
    if (g_factory) return g_factory(host);
#ifdef CHIMEWICK_WITH_BANNER
    // The helper is installed beside the program; a missing helper simply leaves the strip plain.
    return std::make_unique<TBannerHelper>(host,
                                           QCoreApplication::applicationDirPath() + "/chimewick-banner");
#else
    (void)host;
    return nullptr;
#endif
}
