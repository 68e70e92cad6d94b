#include "window/uWebBrowserManage.h"

TWBManage::TWBManage(QWidget* browser) : Browser(browser) {}

void TWBManage::ShowAd() {}

void TWBManage::Blank() {}
