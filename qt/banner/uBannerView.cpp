#include "qt/banner/uBannerView.h"

#include <QApplication>
#include <QAuthenticator>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWindow>

#include "app/uBannerRules.h"
#include "qt/banner/uBannerProtocol.h"

namespace P = BannerProtocol;

namespace {

// Runs in the scripts' own world, so the page's script cannot change what these steps see.
const char kStepsScript[] = R"JS(
(function (read) {
  if (!document.documentElement || !(document instanceof HTMLDocument)) return ['NODOCUMENT'];
  var body = document.body;
  if (!body) return ['NOBODY'];
  body.setAttribute('scroll', 'no');
  var root = document.documentElement;
  if (!root.style) return ['NOSTYLE'];
  root.style.overflow = 'hidden';
  if (!read) return ['STYLED'];
  var all = document.getElementsByTagName('*');
  for (var i = 0; i < all.length; i++) {
    var e = all[i];
    if (e.id === 'nextUrl' || e.getAttribute('name') === 'nextUrl') {
      if (!(e instanceof HTMLInputElement)) return ['NOTINPUT'];
      return ['NEXT', String(e.value)];
    }
  }
  return ['NONE'];
})(%1)
)JS";

}  // namespace

bool BannerAddressAllowed(const QUrl& url) {
    return TBannerRules::NavigationAllowed(url.toString(QUrl::FullyEncoded).toStdString());
}

TSilentPage::TSilentPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [](const QUrl&, QAuthenticator* auth) { *auth = QAuthenticator(); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [](const QUrl&, QAuthenticator* auth, const QString&) { *auth = QAuthenticator(); });
}

bool TSilentPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    return OnNavigation ? OnNavigation(url, type, isMainFrame) : BannerAddressAllowed(url);
}

TBannerView::TBannerView(std::function<void(const QByteArray&)> write, int freezeAfterMs)
    : write_(std::move(write)) {
    // Off the record: nothing of the pages is kept on disk.
    profile_ = new QWebEngineProfile(this);
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    QWebEngineSettings* s = profile_->settings();
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);

    // The frame is the window the program embeds: it shows the part of the view that the program's
    // strip shows, so the view keeps its own size and the page its layout.
    // A borderless window that no window manager handles; it stays off the screen until the program
    // has embedded it.
    frame_ = new QWidget();
    frame_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
    frame_->resize(586, 139);
    view_ = new QWebEngineView(frame_);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    page_ = new TSilentPage(profile_, view_);
    uptime_.start();
    page_->OnNavigation = [this](const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame) {
        return Navigation(url, type, isMainFrame);
    };
    // No window is ever opened for the page (createWindow makes none); one that the user's click asked
    // for may still go to the user's browser.
    connect(page_, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        NewWindow(request.requestedUrl(), request.isUserInitiated());
    });
    view_->setPage(page_);
    view_->resize(586, 139);
    picture_ = new QLabel(frame_);
    picture_->hide();
    freezeTimer_.setSingleShot(true);
    freezeTimer_.setInterval(freezeAfterMs);
    connect(&freezeTimer_, &QTimer::timeout, this, [this] { Freeze(); });
    connect(page_, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
        const bool ok = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
        // A navigation refused here (a click's address that went to the browser) ends as a load that
        // stopped at once; the page in the view is still there, so it is no failure.
        if (!ok && info.url() != accepted_) return;
        loading_ = false;
        ScheduleFreeze();
        const QByteArray url = P::Encode((ok ? page_->url() : requested_).toString());
        write_(P::Line(P::kDownload));
        write_(P::Line(ok ? P::kComplete : P::kFailed, {url}));
    });
    qApp->installEventFilter(this);
    // Shown at once (the engine's surface settles only when shown, and may make the native window
    // anew on the way), then announced once the event loop runs.
    frame_->move(-10000, -10000);
    frame_->show();
    QTimer::singleShot(0, this, [this] {
        windowId_ = frame_->winId();
        write_(P::Line(P::kHello, {QByteArray::number(P::Version), QByteArray::number(windowId_)}));
    });
}

TBannerView::~TBannerView() {
    qApp->removeEventFilter(this);
    delete frame_;  // the view and its page before their profile
}

bool TBannerView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::WinIdChange && watched == frame_ && windowId_ != 0 && frame_->winId() != windowId_) {
        windowId_ = frame_->winId();
        write_(P::Line(P::kWindow, {QByteArray::number(windowId_)}));
    }
    if (ApplicationEventsMessage(watched, event)) return true;
    if (watched == frame_ && type == QEvent::Enter) {
        pointerInside_ = true;
        freezeTimer_.stop();
        Thaw();
    } else if (watched == frame_ && type == QEvent::Leave) {
        pointerInside_ = false;
        ScheduleFreeze();
    }
    if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget == view_ || view_->isAncestorOf(widget))) clicks_.LeftClick(NowMs());
    }
    return QObject::eventFilter(watched, event);
}

// The engine is about to start a navigation. Frames load under the navigation rules; for the whole view
// the core decides whether it goes ahead, goes to the user's browser (reported to the program, which
// opens it) or is refused. The program hears of every navigation that goes ahead, for the page's
// deadline.
bool TBannerView::Navigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame) {
    if (!isMainFrame) return BannerAddressAllowed(url);
    const QByteArray address = url.toString(QUrl::FullyEncoded).toUtf8();
    const bool userAction = type == QWebEnginePage::NavigationTypeLinkClicked ||
                            type == QWebEnginePage::NavigationTypeFormSubmitted;
    switch (clicks_.Navigation(address.toStdString(), false, userAction, NowMs())) {
        case TPageNavigation::Load:
            accepted_ = url;
            loading_ = true;
            ++document_;
            write_(P::Line(P::kNavigating, {P::Encode(QString::fromUtf8(address))}));
            return true;
        case TPageNavigation::OpenInBrowser:
            write_(P::Line(P::kOpen, {P::Encode(QString::fromUtf8(address))}));
            return false;
        case TPageNavigation::Refuse:
            break;
    }
    return false;
}

void TBannerView::NewWindow(const QUrl& url, bool userInitiated) {
    const QByteArray address = url.toString(QUrl::FullyEncoded).toUtf8();
    if (clicks_.Navigation(address.toStdString(), true, userInitiated, NowMs()) ==
        TPageNavigation::OpenInBrowser)
        write_(P::Line(P::kOpen, {P::Encode(QString::fromUtf8(address))}));
}

bool TBannerView::ApplicationEventsMessage(QObject* watched, QEvent* event) const {
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick;
    const bool rightButton = mouse && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    if (rightButton || type == QEvent::ContextMenu) {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* window = qobject_cast<QWindow*>(watched);
        if ((widget && (widget == view_ || view_->isAncestorOf(widget))) ||
            (window && window == frame_->windowHandle()))
            return true;
    }
    return false;
}

void TBannerView::ScheduleFreeze() {
    if (!frozen_ && !pointerInside_) freezeTimer_.start();
}

void TBannerView::Freeze() {
    // Only a page at rest: loaded, no steps of the program's running on it, nobody pointing at it.
    if (frozen_ || pointerInside_ || loading_ || stepsRunning_ > 0) return;
    const QPixmap shot = view_->grab();
    if (shot.isNull()) return;
    picture_->setPixmap(shot);
    picture_->setGeometry(view_->geometry());
    picture_->show();
    picture_->raise();
    // The engine freezes only a page that is not shown.
    view_->hide();
    page_->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
    frozen_ = true;
    if (page_->lifecycleState() != QWebEnginePage::LifecycleState::Frozen) Thaw();
}

void TBannerView::Thaw() {
    if (!frozen_) return;
    frozen_ = false;
    page_->setLifecycleState(QWebEnginePage::LifecycleState::Active);
    view_->show();
    picture_->hide();
    picture_->clear();
}

void TBannerView::Command(const QByteArray& line) {
    const QList<QByteArray> parts = P::Split(line);
    if (parts.isEmpty()) return;
    // Whatever the program asks for is done on a live page.
    Thaw();
    if (parts[0] == P::kPlace && parts.size() >= 3) {
        view_->move(parts[1].toInt(), parts[2].toInt());
        ScheduleFreeze();
    } else if (parts[0] == P::kNavigate && parts.size() >= 2) {
        const QUrl url(P::Decode(parts[1]));
        if (BannerAddressAllowed(url)) {
            requested_ = url;
            page_->load(url);
        } else {
            write_(P::Line(P::kDownload));
            write_(P::Line(P::kFailed, {parts[1]}));
        }
    } else if (parts[0] == P::kWake) {
        ScheduleFreeze();
    } else if (parts[0] == P::kStop) {
        page_->triggerAction(QWebEnginePage::Stop);
    } else if (parts[0] == P::kPattern && parts.size() >= 2) {
        clicks_.SetPattern(P::Decode(parts[1]).toStdString());
    } else if (parts[0] == P::kSteps && parts.size() >= 3) {
        RunSteps(parts[1], parts[2] == P::kRead);
    }
}

void TBannerView::RunSteps(const QByteArray& serial, bool read) {
    const QString script = QString::fromLatin1(kStepsScript).arg(read ? "true" : "false");
    ++stepsRunning_;
    const int document = document_;
    page_->runJavaScript(
        script, QWebEngineScript::ApplicationWorld, [this, serial, document](const QVariant& result) {
            --stepsRunning_;
            ScheduleFreeze();
            // A script whose document was replaced meanwhile comes back empty: that says nothing of the new
            // page, which has steps of its own when it is complete.
            if (document != document_) {
                write_(P::Line(P::kSteps, {serial, P::kGone}));
                return;
            }
            const QVariantList list = result.toList();
            QList<QByteArray> args{
                serial, list.isEmpty() ? QByteArray(P::kNoDocument) : list[0].toString().toLatin1()};
            if (list.size() >= 2) args.append(P::Encode(list[1].toString()));
            write_(P::Line(P::kSteps, args));
        });
}
