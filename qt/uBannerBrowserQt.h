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
// Replaces what CreateBannerBrowser makes (tests); an empty function restores the real one.
void SetBannerBrowserFactory(std::function<std::unique_ptr<IBannerBrowser>(QWidget* host)> factory);
