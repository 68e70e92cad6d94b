#include "qt/uBannerHelper.h"

#include <QEvent>
#include <QFileInfo>
#include <QWindow>
#include <utility>

#include "qt/banner/uBannerProtocol.h"
#include "qt/shell/uApplication.h"

namespace P = BannerProtocol;

TBannerHelper::TBannerHelper(QWidget* host, QString program, QStringList arguments, Timeouts timeouts)
    : host_(host), program_(std::move(program)), arguments_(std::move(arguments)), timeouts_(timeouts) {
    helloTimer_.setSingleShot(true);
    connect(&helloTimer_, &QTimer::timeout, this, [this] { Stop(); });
    busyTimer_.setSingleShot(true);
    connect(&busyTimer_, &QTimer::timeout, this, [this] {
        if (WindowHidden()) Stop();
    });
    if (host_) host_->window()->installEventFilter(this);
}

TBannerHelper::~TBannerHelper() {
    delete container_.data();
    if (!process_) return;
    // The program is ending: close the helper's input so it shuts its engine down, and give it a
    // moment before QProcess kills it.
    process_->disconnect(this);
    process_->closeWriteChannel();
    process_->waitForFinished(1000);
    delete process_;
}

// In the tray, or minimised where there is no tray: either way no page is seen.
bool TBannerHelper::WindowHidden() const {
    return !host_ || !host_->window()->isVisible() || host_->window()->isMinimized();
}

bool TBannerHelper::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (host_ && watched == host_->window() && (type == QEvent::Hide || type == QEvent::WindowStateChange)) {
        // Decided after the hide has settled: a slide that shows the window again right away keeps it.
        QTimer::singleShot(0, this, [this] { CheckIdle(); });
    }
    return QObject::eventFilter(watched, event);
}

void TBannerHelper::Start() {
    if (!QFileInfo(program_).isExecutable()) return;  // not installed: the strip stays plain
    process_ = new QProcess(this);
    process_->setStandardErrorFile(QProcess::nullDevice());  // the engine's chatter is of no use here
    connect(process_, &QProcess::readyReadStandardOutput, this, &TBannerHelper::ReadLines);
    connect(process_, &QProcess::finished, this, [this] { Forget(); });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart || error == QProcess::Crashed) Forget();
    });
    ready_ = false;
    helloTimer_.start(timeouts_.helloMs);
    process_->start(program_, arguments_);
}

void TBannerHelper::Stop() {
    if (!process_) return;
    // Unmap the view before the helper goes, so the strip turns plain at once.
    ShowPage(false);
    QProcess* process = process_;
    process->disconnect(this);
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) process->deleteLater();
    });
    process->closeWriteChannel();
    QTimer::singleShot(timeouts_.quitGraceMs, process, [process] { process->kill(); });
    process_ = nullptr;
    Forget();
}

// Drops everything tied to the helper that went away. Pending answers never arrive.
void TBannerHelper::Forget() {
    if (process_) {
        process_->disconnect(this);
        process_->deleteLater();
        process_ = nullptr;
    }
    helloTimer_.stop();
    busyTimer_.stop();
    ready_ = false;
    loading_ = false;
    queue_.clear();
    pending_.clear();
    delete container_.data();
}

void TBannerHelper::Send(const QByteArray& line) {
    if (!process_) Start();
    if (!process_) return;
    if (ready_)
        process_->write(line);
    else
        queue_.append(line);
}

void TBannerHelper::Navigate(const std::string& url) {
    const QString text = QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size()));
    loading_ = true;
    Send(P::Line(P::kNavigate, {P::Encode(text)}));
    if (!process_) loading_ = false;
}

void TBannerHelper::RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) {
    if (!process_ || !ready_) return;  // no document to work on
    const int serial = nextSerial_++;
    pending_.insert(serial, done);  // QMap::insert takes a const reference
    Send(P::Line(P::kSteps, {QByteArray::number(serial), readNextUrl ? P::kRead : P::kStyle}));
}

void TBannerHelper::ReadLines() {
    // A helper that is stopped from inside a handler takes its remaining lines with it.
    while (process_ && process_->canReadLine()) HandleLine(process_->readLine());
    if (process_ && process_->bytesAvailable() > qint64{64} * 1024) Stop();  // not our helper
}

void TBannerHelper::HandleLine(const QByteArray& line) {
    const QList<QByteArray> parts = P::Split(line);
    if (parts.isEmpty()) return;
    const QByteArray& word = parts[0];
    if (word == P::kHello) {
        bool ok = false;
        const quintptr id = parts.size() >= 3 ? parts[2].toULongLong(&ok) : 0;
        if (!ok || parts[1].toInt() != P::Version) {
            Stop();
            return;
        }
        helloTimer_.stop();
        ready_ = true;
        Embed(id);
        for (const QByteArray& queued : std::exchange(queue_, {})) process_->write(queued);
    } else if (word == P::kWindow && parts.size() >= 2 && ready_) {
        // The view's native window was made anew: embed the new one.
        const bool shown = container_ && !container_->isHidden();
        delete container_.data();
        Embed(parts[1].toULongLong());
        ShowPage(shown);
    } else if (word == P::kDownload) {
        if (OnDownloadComplete) RunStep(OnDownloadComplete);
    } else if (word == P::kComplete || word == P::kFailed) {
        loading_ = false;
        ShowPage(word == P::kComplete);
        if (word == P::kComplete && OnDocumentComplete) RunStep(OnDocumentComplete);
    } else if (word == P::kSteps && parts.size() >= 3) {
        const auto done = pending_.take(parts[1].toInt());
        if (done) {
            TDocumentSteps steps;
            const QByteArray& result = parts[2];
            if (result == P::kStyled)
                steps.Result = TDocumentSteps::Styled;
            else if (result == P::kNone)
                steps.Result = TDocumentSteps::NoNextUrl;
            else if (result == P::kNotInput)
                steps.Result = TDocumentSteps::NotInput;
            else if (result == P::kNoBody)
                steps.Result = TDocumentSteps::NoBody;
            else if (result == P::kNoStyle)
                steps.Result = TDocumentSteps::NoStyle;
            else if (result == P::kNext && parts.size() >= 4) {
                steps.Result = TDocumentSteps::NextUrlValue;
                steps.Value = P::Decode(parts[3]).toStdString();
            }
            RunStep([&] { done(steps); });
        }
    }
    CheckIdle();
}

void TBannerHelper::Embed(quintptr windowId) {
    if (!host_ || windowId == 0) return;  // nothing to show (a stand-in helper)
    QWindow* view = QWindow::fromWinId(static_cast<WId>(windowId));
    if (!view) return;
    container_ = QWidget::createWindowContainer(view, host_);
    // The host may reach beyond its parent (the strip shows the page from (16, 16) on). A native
    // window is not clipped by the widgets around it, so the container covers only what the parent
    // shows, and the helper moves the view within it.
    QRect shown = host_->rect();
    if (const QWidget* parent = host_->parentWidget())
        shown &= QRect(host_->mapFromParent(QPoint(0, 0)), parent->size());
    container_->setGeometry(shown);
    process_->write(P::Line(P::kPlace, {QByteArray::number(-shown.x()), QByteArray::number(-shown.y())}));
    container_->setFocusPolicy(Qt::NoFocus);
    container_->hide();  // shown once a page has loaded
}

void TBannerHelper::ShowPage(bool shown) {
    // A page that failed shows nothing: the strip keeps the window's own colours.
    if (!container_) return;
    container_->setVisible(shown);
}

// Once the window is hidden and the last page and its steps are done, the helper goes.
void TBannerHelper::CheckIdle() {
    if (!process_ || !WindowHidden()) {
        busyTimer_.stop();
        return;
    }
    if (ready_ && !loading_ && pending_.isEmpty()) {
        Stop();
    } else if (!busyTimer_.isActive()) {
        busyTimer_.start(timeouts_.hiddenBusyMs);
    }
}
