#include "qt/uMainFrmQt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <map>
#include <string>

#include "app/uAppErrors.h"
#include "app/uMainFrmLayout.h"
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
const QString kSongTi = QStringLiteral("宋体");
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

namespace {
QColor LayoutColor(TColor color, QColor systemColor) {
    return MainFrmLayout::IsSystemColor(color) ? systemColor : ColorFromStored(color);
}

// One widget of the layout's kind with the row's fill, font or picture.
QWidget* BuildControl(const MainFrmLayout::TControl& row, QWidget* parent) {
    using MainFrmLayout::TKind;
    const MainFrmLayout::TFontLook& font = row.Font;
    const QString face = QString::fromUtf8(font.Face ? font.Face : "");
    switch (row.Kind) {
        case TKind::Panel:
            return new TFlatPanel(parent, LayoutColor(row.Color, parent->palette().color(QPalette::Button)));
        case TKind::Image: {
            // The window's images are stretched and leave out their pictures' key colour.
            auto* image = new TImage(parent);
            image->SetStretch(true);
            image->SetTransparent(true);
            if (row.Button) image->setCursor(Qt::PointingHandCursor);
            if (row.Picture) image->SetPicture(ResourcePicture(QString::fromUtf8(row.Picture)));
            return image;
        }
        case TKind::Label:
            return MakeLabel(parent, face, font.Pixels, font.Bold, LayoutColor(font.Color, QColor()));
        case TKind::WrapLabel:
            return StyleLabel(new TFitLabel(parent, row.Lines), face, font.Pixels, font.Bold,
                              LayoutColor(font.Color, QColor()));
        case TKind::Browser: {
            auto* view = new QWidget(parent);
            view->setFocusPolicy(Qt::NoFocus);
            return view;
        }
    }
    return nullptr;
}
}  // namespace

void TMainFrmQt::CreateControls() {
    // One widget per row of the layout, named as the row; the members point at them by name.
    std::map<std::string, QWidget*> built;
    for (const MainFrmLayout::TControl& row : MainFrmLayout::Controls()) {
        QWidget* parent = row.Parent ? built.at(row.Parent) : this;
        QWidget* widget = BuildControl(row, parent);
        widget->setObjectName(QString::fromUtf8(row.Name));
        built[row.Name] = widget;
        LayoutWidgets.push_back(widget);
    }
    const auto find = [&built]<typename T>(T*& member, const char* name) {
        member = dynamic_cast<T*>(built.at(name));
    };
    find(pnl_TOP, "pnl_TOP");
    find(pnl_TOP_CLIENT, "pnl_TOP_CLIENT");
    find(img1, "img1");
    find(lbl_3, "lbl_3");
    find(img_set, "img_set");
    find(pnl_TOP_R1, "pnl_TOP_R1");
    find(img2, "img2");
    find(pnl_TOP_R2, "pnl_TOP_R2");
    find(img3, "img3");
    find(pnl_TOP_R3, "pnl_TOP_R3");
    find(img4, "img4");
    find(Panel1, "Panel1");
    find(img_BJTP, "img_BJTP");
    find(lbl_1, "lbl_1");
    find(lbl_2, "lbl_2");
    find(lbl_BBSJ, "lbl_BBSJ");
    find(Panel2, "Panel2");
    find(WebBrowser, "WebBrowser");

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
    mni_Set = pm_set->addAction(QString::fromUtf8(MainFrmLayout::SetCommandCaption));
    pm_set->addSeparator();
    mni_Exit = pm_set->addAction(QString::fromUtf8(MainFrmLayout::ExitCommandCaption));
    connect(mni_Set, &QAction::triggered, this, [this] { RunStep([this] { Form.mni_SetClick(); }); });
    connect(mni_Exit, &QAction::triggered, this, [this] { Form.mni_ExitClick(); });

    LayoutControls();
}

// Places every control of the layout for the current size; a label sized to its text keeps its size.
void TMainFrmQt::LayoutControls() {
    const std::vector<TRect> places = MainFrmLayout::Place(width(), height());
    const std::vector<MainFrmLayout::TControl>& rows = MainFrmLayout::Controls();
    for (size_t i = 0; i < rows.size(); ++i) {
        const TRect& r = places[i];
        if (rows[i].Kind == MainFrmLayout::TKind::Label) {
            LayoutWidgets[i]->move(r.Left, r.Top);
        } else {
            LayoutWidgets[i]->setGeometry(r.Left, r.Top, r.Width, r.Height);
        }
    }
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
