#include "qt/uBannerBrowserQt.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/Log.h"
#include "qt/uBannerHelper.h"

namespace {
std::function<std::unique_ptr<IBannerBrowser>(QWidget*)> g_factory;
}  // namespace

bool BannerEngineRefusesToStart() {
    if (::geteuid() != 0 || qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) return false;
    if (qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(QStringLiteral("--no-sandbox")))
        return false;
    static bool told = false;
    if (!told) {
        told = true;
        plat::LogLine(
            "the banner stays blank: its browser engine (Qt WebEngine) does not run as root with its "
            "sandbox on. Run the program as a normal user, or set QTWEBENGINE_DISABLE_SANDBOX=1 in its "
            "environment to run the engine without its sandbox.");
    }
    return true;
}

void SetBannerBrowserFactory(std::function<std::unique_ptr<IBannerBrowser>(QWidget*)> factory) {
    g_factory = std::move(factory);
}

std::unique_ptr<IBannerBrowser> CreateBannerBrowser(QWidget* host) {
    if (g_factory) return g_factory(host);
#ifdef CHIMEWICK_WITH_BANNER
    // The helper is installed beside the program; a missing helper simply leaves the strip plain.
    const QString helper = QCoreApplication::applicationDirPath() + "/chimewick-banner";
    if (QFileInfo(helper).isExecutable() && BannerEngineRefusesToStart()) return nullptr;
    return std::make_unique<TBannerHelper>(host, helper);
#else
    (void)host;
    return nullptr;
#endif
}
