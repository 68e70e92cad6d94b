#include "qt/uMainFrmQt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>

#include "app/uAppErrors.h"
#include "app/uMainFormLook.h"
#include "qt/shell/uE2EDump.h"
#include "qt/shell/uQtText.h"
#include "qt/shell/uResources.h"
#include "qt/uBannerBrowserQt.h"
#include "qt/uFitLabel.h"
#include "qt/uMouseButton.h"
#include "qt/uSetFrmQt.h"
#include "qt/uTrayIcon.h"
#include "qt/uWindowHints.h"

namespace {
constexpr unsigned kTitleStripColor = MainFormLook::TitleStripColor;
constexpr unsigned kContentColor = MainFormLook::ContentColor;
constexpr unsigned kClockColor = MainFormLook::ClockColor;
constexpr int kTitleHeight = MainFormLook::TitleHeight;
constexpr int kBannerHeight = MainFormLook::BannerHeight;
const QString kSongTi = QStringLiteral("宋体");
const QString kKaiTi = QStringLiteral("楷体_GB2312");
}  // namespace

TMainFrmQt::TMainFrmQt(TMainFrm& form)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), Form(form) {
    setWindowTitle(QStringLiteral("Chimewick"));
    setWindowIcon(ProgramIcon());
    QFont font(kSongTi);
    font.setPixelSize(12);
    setFont(font);
    resize(TMainFrm::DesignWidth, TMainFrm::DesignHeight);
    CreateControls();

    connect(&TimerHide, &QTimer::timeout, this, [this] { Form.TimerHideTimer(); });
    TimerCheckWarn.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire up to 5 % early
    connect(&TimerCheckWarn, &QTimer::timeout, this, [this] { Form.TimerCheckWarnTimer(); });

    TrayIcon = new TTrayIcon(this);
    connect(TrayIcon, &TTrayIcon::LeftClick, this, [this] { Form.TrayIconClick(); });
    banner_ = CreateBannerBrowser(WebBrowser);
}

TMainFrmQt::~TMainFrmQt() {
    Form.FormDestroy();
}

void TMainFrmQt::CreateControls() {
    const QColor strip = ColorFromStored(kTitleStripColor);
    const QColor buttonFace = palette().color(QPalette::Button);

    pnl_TOP = new TPanel(this, buttonFace);
    pnl_TOP_CLIENT = new TPanel(pnl_TOP, strip);
    img1 = new TImage(pnl_TOP_CLIENT);
    lbl_3 = MakeLabel(pnl_TOP_CLIENT, kSongTi, 12, true);
    img_set = new TImage(pnl_TOP_CLIENT);
    pnl_TOP_R1 = new TPanel(pnl_TOP, strip);
    img2 = new TImage(pnl_TOP_R1);
    pnl_TOP_R2 = new TPanel(pnl_TOP, strip);
    img3 = new TImage(pnl_TOP_R2);
    pnl_TOP_R3 = new TPanel(pnl_TOP, strip);
    img4 = new TImage(pnl_TOP_R3);

    Panel1 = new TPanel(this, ColorFromStored(kContentColor));
    img_BJTP = new TImage(Panel1);  // created first: lowest of the panel's elements
    // Designed for three lines of its face: whole lines only, however tall the fallback face is.
    lbl_1 = StyleLabel(new TFitLabel(Panel1, 3), kKaiTi, 16, true);
    lbl_2 = MakeLabel(Panel1, QStringLiteral("Cambria"), 48, true, ColorFromStored(kClockColor));
    lbl_BBSJ = MakeLabel(Panel1, kKaiTi, 16, true);

    Panel2 = new TPanel(this, buttonFace);
    WebBrowser = new QWidget(Panel2);
    WebBrowser->setFocusPolicy(Qt::NoFocus);

    lbl_1->setObjectName(QStringLiteral("lbl_1"));
    lbl_2->setObjectName(QStringLiteral("lbl_2"));
    lbl_3->setObjectName(QStringLiteral("lbl_3"));
    lbl_BBSJ->setObjectName(QStringLiteral("lbl_BBSJ"));

    // The window's images are stretched and leave out their pictures' key colour.
    for (TImage* image : {img1, img_set, img2, img3, img4, img_BJTP}) {
        image->SetStretch(true);
        image->SetTransparent(true);
    }
    for (TImage* button : {img_set, img2, img3}) button->setCursor(Qt::PointingHandCursor);
    img_set->SetPicture(ResourcePicture(QStringLiteral("settings.png")));
    img2->SetPicture(ResourcePicture(QStringLiteral("minimise.png")));
    img3->SetPicture(ResourcePicture(QStringLiteral("close.png")));

    // Fixed geometry of the elements that neither stretch nor follow an edge.
    lbl_3->move(15, 5);
    img2->setGeometry(0, 0, 23, 22);
    img3->setGeometry(0, 0, 25, 22);  // one pixel wider than its panel, as designed
    lbl_2->move(8, 1);
    lbl_BBSJ->move(8, 65);
    WebBrowser->setGeometry(-16, -16, 586, 139);

    connect(img1, &TImage::MouseDown, this, [this](Qt::MouseButton button, int x, int y) {
        Form.img1MouseDown(x, y, ToMouseButton(button), {0, 0, img1->width(), img1->height()});
    });
    connect(img1, &TImage::MouseMove, this, [this](int x, int y) { Form.img1MouseMove(x, y); });
    connect(img1, &TImage::MouseUp, this, [this](Qt::MouseButton, int, int) { Form.img1MouseUp(); });
    connect(img_set, &TImage::Click, this, [this] { Form.img_setClick(); });
    connect(img2, &TImage::Click, this, [this] { Form.img2Click(); });
    connect(img3, &TImage::Click, this, [this] { Form.img3Click(); });

    // The menu exists with its two commands, though nothing opens it.
    pm_set = new QMenu(this);
    mni_Set = pm_set->addAction(QStringLiteral("设置(&S)"));
    pm_set->addSeparator();
    mni_Exit = pm_set->addAction(QStringLiteral("退出(&E)"));
    connect(mni_Set, &QAction::triggered, this, [this] { RunStep([this] { Form.mni_SetClick(); }); });
    connect(mni_Exit, &QAction::triggered, this, [this] { Form.mni_ExitClick(); });

    LayoutControls();
}

// Places the strips and the elements that follow the window's edges for the current size.
void TMainFrmQt::LayoutControls() {
    const int w = width();
    const int h = height();
    pnl_TOP->setGeometry(0, 0, w, kTitleHeight);
    pnl_TOP_R3->setGeometry(w - 9, 0, 9, kTitleHeight);
    pnl_TOP_R2->setGeometry(w - 9 - 24, 0, 24, kTitleHeight);
    pnl_TOP_R1->setGeometry(w - 9 - 24 - 26, 0, 26, kTitleHeight);
    const int clientWidth = qMax(0, w - 59);
    pnl_TOP_CLIENT->setGeometry(0, 0, clientWidth, kTitleHeight);
    img1->setGeometry(0, 0, clientWidth, kTitleHeight);
    img_set->setGeometry(clientWidth - 25, 0, 22, 22);
    img4->setGeometry(0, 0, 9, kTitleHeight);

    Panel2->setGeometry(0, h - kBannerHeight, w, kBannerHeight);
    const int contentHeight = qMax(0, h - kTitleHeight - kBannerHeight);
    Panel1->setGeometry(0, kTitleHeight, w, contentHeight);
    img_BJTP->setGeometry(0, 0, w, contentHeight);
    // lbl_1 keeps its margins to all four edges of the panel (8 left, 12 right, 8 bottom).
    lbl_1->setGeometry(8, 88, qMax(0, w - 20), qMax(0, contentHeight - 96));
}

void TMainFrmQt::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (pnl_TOP) LayoutControls();
}

// ---- what the behaviour tells the window ---------------------------------------------------------

TRect TMainFrmQt::ScreenRect() const {
    const QRect r = QGuiApplication::primaryScreen()->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

TRect TMainFrmQt::MonitorRect(TPoint point) const {
    const QPoint p(point.X, point.Y);
    const QScreen* best = QGuiApplication::screenAt(p);
    if (!best) {
        // Off every monitor: the nearest one.
        qint64 nearest = -1;
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect g = screen->geometry();
            const qint64 dx = qMax(qMax(g.left() - p.x(), p.x() - g.right()), 0);
            const qint64 dy = qMax(qMax(g.top() - p.y(), p.y() - g.bottom()), 0);
            if (nearest < 0 || dx * dx + dy * dy < nearest) {
                nearest = dx * dx + dy * dy;
                best = screen;
            }
        }
    }
    if (!best) best = QGuiApplication::primaryScreen();
    const QRect r = best->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

TRect TMainFrmQt::WindowRect() const {
    const QRect r = geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

void TMainFrmQt::PlaceWindow(const TRect& rect) {
    setGeometry(rect.Left, rect.Top, rect.Width, rect.Height);
}

TPoint TMainFrmQt::ClientToScreen(TPoint client) const {
    const QPoint p = mapToGlobal(QPoint(client.X, client.Y));
    return {p.x(), p.y()};
}

QLabel* TMainFrmQt::Label(TMainText text) const {
    switch (text) {
        case TMainText::ReminderText:
            return lbl_1;
        case TMainText::Clock:
            return lbl_2;
        case TMainText::DateLine:
            return lbl_3;
        case TMainText::AnnouncedAt:
            break;
    }
    return lbl_BBSJ;
}

void TMainFrmQt::SetCaption(TMainText text, const AnsiString& caption) {
    QLabel* label = Label(text);
    const QString shown = ToQ(caption);
    label->setText(shown);
    // The other labels size themselves to their text. While the window is hidden that waits for its next
    // showing (showEvent): sizing lays the text out, which loads the fonts (the CJK face alone holds
    // megabytes) and was most of what the clock's update cost each second in the tray.
    if (label != lbl_1 && isVisible()) label->adjustSize();
    E2EDump::Set(label->objectName(), shown);
}

void TMainFrmQt::SetWindowColor(TColor color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorFromStored(color));
    setPalette(pal);
    setAutoFillBackground(true);
}

bool TMainFrmQt::ShowBackground(const std::string& bitmap) {
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bitmap.data()), static_cast<int>(bitmap.size()),
                            "BMP"))
        return false;
    img_BJTP->SetPicture(image);
    img_BJTP->lower();  // beneath the labels
    return true;
}

void TMainFrmQt::SetTaskbarEntry(bool shown) {
    const bool hasEntry = !windowFlags().testFlag(Qt::Tool);
    if (hasEntry != shown) setWindowFlag(Qt::Tool, !shown);
}

void TMainFrmQt::ShowWindow(TWindowState state) {
    switch (state) {
        case TWindowState::Hidden:
            setWindowState(windowState() & ~Qt::WindowMinimized);
            SetTaskbarEntry(false);
            hide();
            break;
        case TWindowState::Minimized:
            SetTaskbarEntry(true);
            showMinimized();
            break;
        case TWindowState::Shown:
        case TWindowState::ShownActive:
            ShowOnTop(state == TWindowState::ShownActive);
            break;
    }
}

void TMainFrmQt::ShowOnTop(bool activate) {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    // Whether the window manager focuses the window is decided when the window is mapped: mapped with
    // no input hint and a user time of 0 it comes up without being focused. The flag changes only
    // while the window is hidden (changing it hides the window); a window that came up unfocused and
    // is now asked for by the user is mapped once more, without the flag.
    const bool focusable = !windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus);
    if (activate && !focusable && isVisible()) hide();
    if (!isVisible()) {
        setAttribute(Qt::WA_ShowWithoutActivating, !activate);
        setWindowFlag(Qt::WindowDoesNotAcceptFocus, !activate);
        // Waiting in the tray, the window has no place in a taskbar or a pager.
        SetSkipTaskbar(*this, windowFlags().testFlag(Qt::Tool));
    }
    show();
    raise();
    if (activate) activateWindow();
}

void TMainFrmQt::PumpMessages() {
    repaint();
    QApplication::processEvents();
}

void TMainFrmQt::CloseWindow() {
    close();
}

bool TMainFrmQt::HasTray() const {
    return TTrayIcon::IsAvailable();
}

void TMainFrmQt::ShowTrayIcon(bool shown) {
    if (shown)
        TrayIcon->Add();
    else
        TrayIcon->Remove();
}

void TMainFrmQt::StartTimer(TMainTimer timer, int32_t ms) {
    (timer == TMainTimer::CheckWarn ? TimerCheckWarn : TimerHide).start(ms);
}

void TMainFrmQt::StopTimer(TMainTimer timer) {
    (timer == TMainTimer::CheckWarn ? TimerCheckWarn : TimerHide).stop();
}

std::unique_ptr<ISetView> TMainFrmQt::CreateSetView(TSetFrm& dialog) {
    return std::make_unique<TSetFrmQt>(dialog, this);
}

// ---- window events -------------------------------------------------------------------------------

void TMainFrmQt::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

void TMainFrmQt::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimised from outside (the window manager): the system's minimise command, which goes to the tray
    // like the minimise button does.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && TTrayIcon::IsAvailable()) {
        QTimer::singleShot(0, this, [this] {
            if (isMinimized()) Form.WMSysCommand(TSysCommand::Minimize);
        });
    }
}

void TMainFrmQt::showEvent(QShowEvent* event) {
    for (QLabel* label : {lbl_2, lbl_3, lbl_BBSJ}) label->adjustSize();  // before the first paint
    QWidget::showEvent(event);
    E2EDump::Set(QStringLiteral("winid"), QString::number(winId()));
}
