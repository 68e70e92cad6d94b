#pragma once
// The banner's browser in its own process: starts chimewick-banner when a page is needed, embeds its
// view into the host widget, and lets it go once the main window is hidden and the last page has been
// handled. A helper that cannot start, crashes or hangs only leaves the strip plain; the next
// navigation starts a new one. Nothing here blocks the GUI thread on the helper.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "app/uBannerBrowser.h"

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

    // True while a helper process runs (or is starting).
    bool IsRunning() const { return process_ != nullptr; }

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
    void CheckIdle();
    bool WindowHidden() const;

    QPointer<QWidget> host_;
    QString program_;
    QStringList arguments_;
    Timeouts timeouts_;
    QProcess* process_ = nullptr;
    QPointer<QWidget> container_;
    bool ready_ = false;
    bool loading_ = false;
    QList<QByteArray> queue_;  // lines written before the helper said hello
    int nextSerial_ = 1;
    QMap<int, std::function<void(const TDocumentSteps&)>> pending_;
    QTimer helloTimer_;
    QTimer busyTimer_;
};
