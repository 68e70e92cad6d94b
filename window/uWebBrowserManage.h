#pragma once
// The banner manager. For now the banner strip holds a plain placeholder and showing the next banner
// page does nothing; the browser comes later.
#include <QWidget>
#include <string>

class TWBManage {
public:
    explicit TWBManage(QWidget* browser);
    // Shows the next banner page.
    void ShowAd();
    // Empties the banner before the window slides up.
    void Blank();

    QWidget* Browser = nullptr;  // not owned
    std::string NextUrl;
};
