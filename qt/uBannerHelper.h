#pragma once
// The banner's browser in its own process: starts chimewick-banner when a page is needed, embeds its
// view into the host widget, and lets it go once the main window is hidden and the last page has been
// handled. A helper that cannot start, crashes or hangs only leaves the strip plain; the next
// navigation starts a new one. Nothing here blocks the GUI thread on the helper. The strip follows the
// core's TBannerPage (shown once loaded, plain after a failure or at the deadline, one log line), as on
// Windows; an address the user's click on the page asks for opens in the user's web browser.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <string>

#include "app/uBannerBrowser.h"
#include "app/uBannerRules.h"

struct TBannerHelperTimeouts {
    int helloMs = 20000;       // from start until the helper reports its window
    int hiddenBusyMs = 30000;  // hidden but a page or a step is still pending: stop anyway
    int quitGraceMs = 5000;    // from closing its input until it is killed
};

class TBannerHelper : public QObject, public IBannerBrowser {
    Q_OBJECT
public:
    using Timeouts = TBannerHelperTimeouts;

    TBannerHelper(QWidget* host, QString program, QStringList arguments = {}, Timeouts timeouts = {});
    ~TBannerHelper() override;

    void Navigate(const std::string& url) override;
    void RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) override;
    void KeepWhileHidden(bool keep) override;
    bool PageHeld() const override;

    // True while a helper process runs (or is starting).
    bool IsRunning() const { return process_ != nullptr; }
    // True while the strip shows the helper's page (once its view is embedded).
    bool PageShown() const { return page_.Visible(); }
    // Checks the page's deadline (a timer runs this while a page loads; tests call it after moving
    // the clock).
    void CheckDeadline();

    // Opens an address in the user's web browser (the desktop's handler for web addresses); tests
    // replace it. False when nothing could be started.
    std::function<bool(const QUrl& url)> OpenInBrowser;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Start();
    void Stop();
    void Forget();
    void Send(const QByteArray& line);
    void ReadLines();
    void HandleLine(const QByteArray& line);
    void Embed(quintptr windowId);
    void ShowPage(bool shown);
    void Apply(const TBannerPage::TAction& action);
    void ArmDeadline();
    void OpenLink(const QString& address);
    void CheckIdle();
    bool WindowHidden() const;

    QPointer<QWidget> host_;
    QString program_;
    QStringList arguments_;
    Timeouts timeouts_;
    QProcess* process_ = nullptr;
    QPointer<QWidget> container_;
    bool ready_ = false;
    bool toldMissing_ = false;  // the log has said that the helper is missing
    TBannerPage page_;
    std::string requested_;    // the address last handed to the helper
    bool keep_ = false;        // stay while hidden
    QList<QByteArray> queue_;  // lines written before the helper said hello
    int nextSerial_ = 1;
    QMap<int, std::function<void(const TDocumentSteps&)>> pending_;
    QTimer helloTimer_;
    QTimer busyTimer_;
    QTimer deadlineTimer_;
};
