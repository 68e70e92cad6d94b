#include "qt/uBannerHelper.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QWindow>
#include <cmath>
#include <utility>

#include "app/uWebBrowserManage.h"
#include "platform/Gbk.h"
#include "platform/Log.h"
#include "platform/Memory.h"
#include "qt/banner/uBannerProtocol.h"
#include "qt/shell/uApplication.h"
#include "settings/uSysUtils.h"

namespace P = BannerProtocol;

namespace {

// The program's clock (tests and end-to-end runs move it), in milliseconds.
int64_t NowMs() {
    return std::llround(SysUtils::Now() * 86400000.0);
}

QByteArray Text(const std::string& utf8) {
    return P::Encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace

TBannerHelper::TBannerHelper(QWidget* host, QString program, QStringList arguments, Timeouts timeouts)
    : host_(host), program_(std::move(program)), arguments_(std::move(arguments)), timeouts_(timeouts) {
    helloTimer_.setSingleShot(true);
    connect(&helloTimer_, &QTimer::timeout, this, [this] { Stop(); });
    busyTimer_.setSingleShot(true);
    connect(&busyTimer_, &QTimer::timeout, this, [this] {
        if (WindowHidden()) Stop();
    });
    deadlineTimer_.setSingleShot(true);
    connect(&deadlineTimer_, &QTimer::timeout, this, [this] { CheckDeadline(); });
    OpenInBrowser = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
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
    // Seen again: a page the helper froze while it was left alone runs again (it may have frozen it
    // while the strip was out of sight, when its picture need not be up to date).
    if (host_ && watched == host_->window() && type == QEvent::Show && process_ && ready_)
        process_->write(P::Line(P::kWake));
    if (host_ && watched == host_->window() && (type == QEvent::Hide || type == QEvent::WindowStateChange)) {
        // Decided after the hide has settled: a slide that shows the window again right away keeps it.
        QTimer::singleShot(0, this, [this] { CheckIdle(); });
    }
    return QObject::eventFilter(watched, event);
}

void TBannerHelper::Start() {
    if (!QFileInfo(program_).isExecutable()) {
        // Not installed: the strip stays plain, and the log says why, once.
        if (!toldMissing_) {
            toldMissing_ = true;
            qWarning("Chimewick: the banner helper %s %s; the banner strip stays empty.",
                     qUtf8Printable(program_), QFileInfo::exists(program_) ? "cannot be run" : "is missing");
        }
        return;
    }
    process_ = new QProcess(this);
    process_->setStandardErrorFile(QProcess::nullDevice());  // the engine's chatter is of no use here
    connect(process_, &QProcess::readyReadStandardOutput, this, &TBannerHelper::ReadLines);
    connect(process_, &QProcess::finished, this, [this] { Forget(); });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart || error == QProcess::Crashed) Forget();
    });
    ready_ = false;
    // The first line the helper reads: which addresses are banner pages.
    queue_.append(P::Line(P::kPattern, {Text(plat::GbkToUtf8(TWBManage::AcceptancePattern()))}));
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
    // Let go in the tray: what the program touched to show the page goes back to the system too, once
    // the helper's goodbye has been handled.
    if (WindowHidden()) {
        QTimer::singleShot(1000, this, [this] {
            if (WindowHidden() && !process_) plat::ReleaseIdleMemory();
        });
    }
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
    queue_.clear();
    pending_.clear();
    delete container_.data();
    // Its page went with it; one that was still loading has failed.
    Apply(page_.Gone());
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
    const TBannerPage::TAction action = page_.Request(url, NowMs());
    Apply(action);
    if (!action.Load) return;
    requested_ = url;
    Send(P::Line(P::kNavigate, {Text(url)}));
    // No helper to load it (the log has said why): the page is not coming, and that is no news.
    if (!process_) page_.Gone();
    ArmDeadline();
}

void TBannerHelper::RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) {
    // No document to work on: no helper yet, or the page failed (the manager's error boxes never come
    // for a page the strip does not show).
    if (!process_ || !ready_ || page_.HasFailed()) return;
    const int serial = nextSerial_++;
    pending_.insert(serial, done);  // QMap::insert takes a const reference
    Send(P::Line(P::kSteps, {QByteArray::number(serial), readNextUrl ? P::kRead : P::kStyle}));
}

void TBannerHelper::KeepWhileHidden(bool keep) {
    keep_ = keep;
    CheckIdle();
}

bool TBannerHelper::PageHeld() const {
    return process_ && ready_ && !page_.Loading() && page_.Visible() && container_ && !container_->isHidden();
}

void TBannerHelper::CheckDeadline() {
    Apply(page_.Tick(NowMs()));
    CheckIdle();
}

void TBannerHelper::Apply(const TBannerPage::TAction& action) {
    if (!action.Report.empty()) plat::LogLine(action.Report);
    ShowPage(page_.Visible());
    if (action.Stop && process_ && ready_) process_->write(P::Line(P::kStop));
    ArmDeadline();
}

void TBannerHelper::ArmDeadline() {
    // The count runs while the helper has the page: an engine still starting up is the helper's
    // own time (it has a limit of its own).
    if (!page_.Loading() || !ready_) {
        deadlineTimer_.stop();
        return;
    }
    // Looked at each second at most: the deadline follows the program's clock, which tests move.
    const int64_t left = page_.Deadline() - NowMs();
    deadlineTimer_.start(static_cast<int>(left < 1 ? 1 : left > 1000 ? 1000 : left));
}

// The helper asks for an address in the user's web browser after a click on the page. Checked again
// here: only while the page can be seen (and so clicked), and only a web address that is no banner
// page; nothing else ever reaches the desktop's handler.
void TBannerHelper::OpenLink(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const std::string text = url.toString(QUrl::FullyEncoded).toStdString();
    if (WindowHidden() || !url.isValid() ||
        !TBannerRules::OpensInBrowser(text, plat::GbkToUtf8(TWBManage::AcceptancePattern())))
        return;
    if (OpenInBrowser && !OpenInBrowser(url)) plat::LogLine("banner: no web browser could open " + text);
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
        // The page asked for meanwhile goes to the engine now: its deadline counts from here.
        if (page_.Loading()) page_.Navigation(requested_, NowMs());
        ArmDeadline();
    } else if (word == P::kWindow && parts.size() >= 2 && ready_) {
        // The view's native window was made anew: embed the new one.
        const bool shown = container_ && !container_->isHidden();
        delete container_.data();
        Embed(parts[1].toULongLong());
        ShowPage(shown);
    } else if (word == P::kDownload) {
        if (OnDownloadComplete) RunStep(OnDownloadComplete);
    } else if (word == P::kNavigating && parts.size() >= 2) {
        // The page moves on by itself (a link into the strip, a redirect, a script): loading again.
        if (page_.Navigation(P::Decode(parts[1]).toStdString(), NowMs())) ArmDeadline();
    } else if (word == P::kOpen && parts.size() >= 2) {
        OpenLink(P::Decode(parts[1]));
    } else if (word == P::kComplete) {
        Apply(page_.Complete(true));
        // A page that has failed already (at its deadline) is not shown and never reaches the manager.
        if (!page_.HasFailed() && OnDocumentComplete) RunStep(OnDocumentComplete);
    } else if (word == P::kFailed) {
        Apply(page_.Fail());
    } else if (word == P::kSteps && parts.size() >= 3) {
        const auto done = pending_.take(parts[1].toInt());
        // Steps of a document the page has left behind: the next page's own steps follow.
        if (done && parts[2] != P::kGone) {
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

// Once the window is hidden and the last page and its steps are done, the helper goes, unless it is
// kept for a page made ready ahead of a pop-up.
void TBannerHelper::CheckIdle() {
    if (!process_ || !WindowHidden() || keep_) {
        busyTimer_.stop();
        return;
    }
    if (ready_ && !page_.Loading() && pending_.isEmpty()) {
        Stop();
    } else if (!busyTimer_.isActive()) {
        busyTimer_.start(timeouts_.hiddenBusyMs);
    }
}
