#pragma once
// The banner helper's browser: a borderless 586x139 view (in a frame the program embeds) whose page can open
// no dialog, window, download or permission prompt, may not read local files, and never sees a right click.
// It talks to the program through the line protocol in window/uBannerProtocol.h.
#include <QElapsedTimer>
#include <QLabel>
#include <QObject>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>

#include "app/uBannerRules.h"

class TSilentPage : public QWebEnginePage {
    Q_OBJECT
public:
    TSilentPage(QWebEngineProfile* profile, QObject* parent);

    // Decides each navigation the engine is about to start (frames included); unset: the navigation
    // rules alone.
    std::function<bool(const QUrl& url, NavigationType type, bool isMainFrame)> OnNavigation;

protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override { return {}; }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

// Addresses the banner may show: web pages and the blank page.
bool BannerAddressAllowed(const QUrl& url);

class TBannerView : public QObject {
    Q_OBJECT
public:
    // How long a loaded page runs while the pointer is not over it before it is frozen.
    static constexpr int kFreezeAfterMs = 10000;

    // write sends one protocol line to the program.
    explicit TBannerView(std::function<void(const QByteArray&)> write, int freezeAfterMs = kFreezeAfterMs);
    ~TBannerView() override;

    // Handles one line from the program.
    void Command(const QByteArray& line);
    QWebEngineView* View() { return view_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // For every event the application delivers: true (handled, not delivered) for right button
    // presses, releases and context-menu requests aimed at the page.
    bool ApplicationEventsMessage(QObject* watched, QEvent* event) const;

private:
    void RunSteps(const QByteArray& serial, bool read);
    bool Navigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame);
    void ScheduleFreeze();
    void Freeze();
    void Thaw();
    void NewWindow(const QUrl& url, bool userInitiated);
    int64_t NowMs() const { return uptime_.elapsed(); }

    std::function<void(const QByteArray&)> write_;
    QWebEngineProfile* profile_ = nullptr;
    QWidget* frame_ = nullptr;
    QWebEngineView* view_ = nullptr;
    TSilentPage* page_ = nullptr;
    WId windowId_ = 0;  // the native window last announced
    QUrl requested_;    // the address last asked for, named when its load fails
    QUrl accepted_;     // the address of the whole view's last navigation that went ahead
    TBannerClicks clicks_;
    // A page that keeps running costs the user's machine for as long as the window is up (an animation
    // or a busy script can take most of a core). Once loaded and left alone for a while, the page is
    // frozen (its scripts and timers stop) behind a picture of itself; the pointer coming over the
    // strip, or any command, wakes it first.
    QLabel* picture_ = nullptr;
    QTimer freezeTimer_;
    bool frozen_ = false;
    bool pointerInside_ = false;
    bool loading_ = false;  // the whole view is loading a page
    int stepsRunning_ = 0;
    // Counts the navigations of the whole view the page went ahead with: steps that were asked of one
    // document and answered after another took its place are no answer for either.
    int document_ = 0;
    QElapsedTimer uptime_;  // the clicks' clock: monotonic, whatever the wall clock does
};
