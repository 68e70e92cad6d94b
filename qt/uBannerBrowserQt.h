#pragma once
// The banner strip's browser in the Qt program: the helper process (uBannerHelper) whose page shows
// inside the strip, or a replacement that tests install.
#include <QWidget>
#include <functional>
#include <memory>

#include "app/uBannerBrowser.h"

// The browser for the banner strip: its page shows inside host. None when the program was built
// without the banner helper.
std::unique_ptr<IBannerBrowser> CreateBannerBrowser(QWidget* host);
// The browser engine does not start as root while its sandbox is on (the helper would end at once each
// time a page is asked for). True in that case; the first time, the log says why and what to set.
bool BannerEngineRefusesToStart();
// Replaces what CreateBannerBrowser makes (tests); an empty function restores the real one.
void SetBannerBrowserFactory(std::function<std::unique_ptr<IBannerBrowser>(QWidget* host)> factory);
