#include "app/uMainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "setdialog/uSetFrm.h"
#include "settings/uControlObj.h"
#include "settings/uStrings.h"
#include "settings/uSysUtils.h"
#include "settings/uTimerInfo.h"
#include "window/uApplication.h"
#include "window/uBannerBrowser.h"
#include "window/uE2EDump.h"
#include "window/uFitLabel.h"
#include "window/uQtText.h"
#include "window/uResources.h"
#include "window/uTrayIcon.h"
#include "window/uWebBrowserManage.h"

TMainFrm* MainFrm = nullptr;

namespace {
constexpr unsigned kTitleStripColor = 16776176;  // RGB(240, 251, 255)
constexpr unsigned kContentColor = 15915206;     // RGB(198, 216, 242)
constexpr unsigned kWindowColor = 62650;         // RGB(186, 244, 0)
constexpr unsigned kClockColor = 16711680;       // RGB(0, 0, 255)
constexpr int kTitleHeight = 22;
constexpr int kBannerHeight = 90;
const QString kSongTi = QStringLiteral("宋体");
const QString kKaiTi = QStringLiteral("楷体_GB2312");

// Restarts the check timer so that its next tick comes just after one of the clock's seconds begins. A
// free-running 1000 ms period drifts against the clock and sees a reminder's minute up to a second
// late; phased to the second, each tick sees the new second within a few milliseconds of its start.
// keepPace: stay within 50 ms of one second (what a coarse timer allows itself anyway), so a clock
// that is set, or runs fast under test, is followed over a few ticks instead of making the timer race.
void StartAtNextSecond(QTimer* timer, bool keepPace) {
    constexpr int kPastTheSecond = 2;  // ms; the tick must never land just before the second it is for
    int hour = 0, minute = 0, second = 0, ms = 0;
    SysUtils::DecodeTime(SysUtils::Now(), hour, minute, second, ms);
    int wait = 1000 - ms + kPastTheSecond;  // to the start of the next second
    if (keepPace) {
        if (wait < 500) wait += 1000;  // the second after it is nearer the pace
        wait = std::clamp(wait, 950, 1050);
    }
    timer->start(wait);
}
}  // namespace

TMainFrm::TMainFrm() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    MainFrm = this;
    setWindowTitle(QStringLiteral("Chimewick"));
    setWindowIcon(ProgramIcon());
    QFont font(kSongTi);
    font.setPixelSize(12);
    setFont(font);
    resize(DesignWidth, DesignHeight);
    CreateControls();

    TimerHide = new QTimer(this);
    TimerHide->setSingleShot(true);
    TimerHide->setInterval(1);
    connect(TimerHide, &QTimer::timeout, this, &TMainFrm::TimerHideTimer);
    TimerHide->start();
    TimerCheckWarn = new QTimer(this);
    TimerCheckWarn->setInterval(1000);
    TimerCheckWarn->setTimerType(Qt::PreciseTimer);  // a coarse timer may fire up to 5 % early
    connect(TimerCheckWarn, &QTimer::timeout, this, &TMainFrm::TimerCheckWarnTimer);

    TrayIcon = new TTrayIcon(this);
    connect(TrayIcon, &TTrayIcon::LeftClick, this, &TMainFrm::TrayIconClick);

    FormCreate();
}

TMainFrm::~TMainFrm() {
    FormDestroy();
    if (MainFrm == this) MainFrm = nullptr;
}

void TMainFrm::CreateControls() {
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

    connect(img1, &TImage::MouseDown, this, &TMainFrm::img1MouseDown);
    connect(img1, &TImage::MouseMove, this, &TMainFrm::img1MouseMove);
    connect(img1, &TImage::MouseUp, this, &TMainFrm::img1MouseUp);
    connect(img_set, &TImage::Click, this, &TMainFrm::img_setClick);
    connect(img2, &TImage::Click, this, &TMainFrm::img2Click);
    connect(img3, &TImage::Click, this, &TMainFrm::img3Click);

    // The menu exists with its two commands, though nothing opens it.
    pm_set = new QMenu(this);
    mni_Set = pm_set->addAction(QStringLiteral("设置(&S)"));
    pm_set->addSeparator();
    mni_Exit = pm_set->addAction(QStringLiteral("退出(&E)"));
    connect(mni_Set, &QAction::triggered, this, &TMainFrm::mni_SetClick);
    connect(mni_Exit, &QAction::triggered, this, &TMainFrm::mni_ExitClick);

    LayoutControls();
}

// Places the strips and the elements that follow the window's edges for the current size.
void TMainFrm::LayoutControls() {
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

void TMainFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (pnl_TOP) LayoutControls();
}

void TMainFrm::FormCreate() {
    // Each step that fails shows its message and start-up goes on: the scheduler, the check timer
    // and the banner are needed whatever went wrong before them.
    RunStep([this] {
        // Every readable key is taken as stored and each malformed one gets its default; nothing is
        // written until the user saves the settings.
        AppControl = TControl::CreateUnloaded(this).release();
        for (const std::string& message : AppControl->LoadSettingsTolerant()) ShowErrorMessage(message);
        AppControl->CheckAutoRun();
    });
    FormMove = std::make_unique<TFormMove>();
    RunStep([this] { TimerInfos = new TTimerInfos(); });
    BannerBrowser = CreateBannerBrowser(WebBrowser);
    if (BannerBrowser) BannerBrowser->OnDownloadComplete = [this] { WebBrowserDownloadComplete(); };
    WBManage = new TWBManage(BannerBrowser.get());

    for (QLabel* label : {lbl_1, lbl_2, lbl_3, lbl_BBSJ}) SetCaption(label, QString());
    RunStep([this] { LoadBackground(); });
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorFromStored(kWindowColor));
    setPalette(pal);
    setAutoFillBackground(true);
    RunStep([this] { WriteDateLine(); });
    TimerObj = new TTimerObj(this);
    RunStep([this] { ApplySettings(); });
    if (AppControl && AppControl->FirstStart) RunStep([this] { img_setClick(); });
    StartAtNextSecond(TimerCheckWarn, false);  // the first tick within a second, on the second
    RunStep([this] { ShowAd(); });
    DownloadCount = 0;
}

void TMainFrm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    delete WBManage;
    WBManage = nullptr;
    BannerBrowser.reset();
    delete TimerInfos;
    TimerInfos = nullptr;
    delete AppControl;
    AppControl = nullptr;
    FormMove.reset();
    delete TimerObj;
    TimerObj = nullptr;
}

void TMainFrm::ApplySettings() {
    const TXHBX& s = AppControl->XHBX;
    // Minutes times 60 taken in 32 bits: a period above 35791 minutes wraps round instead of being
    // undefined, and a result below 1 second leaves the cyclic reminder off.
    const auto seconds = static_cast<int32_t>(static_cast<uint32_t>(s.xhzq) * 60u);
    TimerObj->Circle_Time = s.startXHBJ ? static_cast<double>(seconds) : 0.0;
    TimerObj->OnTime_Time = s.startDSBJ ? s.OnTime : -1.0;
    TimerObj->OnTime2_Time = s.startDSBJ2 ? s.OnTime2 : -1.0;
    TimerObj->OnTime3_Time = s.startDSBJ3 ? s.OnTime3 : -1.0;
    TimerObj->WarnForm_Content = s.txnr;
    TimerObj->OnTime_Content = s.OnTimeTxnr;
    TimerObj->OnTime2_Content = s.OnTimeTxnr2;
    TimerObj->OnTime3_Content = s.OnTimeTxnr3;
}

void TMainFrm::TimerCheckWarnTimer() {
    StartAtNextSecond(TimerCheckWarn, true);  // first: a reminder's slide-up runs inside this tick
    SetCaption(lbl_2, ToQ(SysUtils::FormatDateTime("HH:MM:SS", SysUtils::Now())));
    TimerObj->CheckWarn();
}

void TMainFrm::ShowWarnText(const AnsiString& text) {
    SetCaption(lbl_1, ToQ(SysUtils::Trim(text)));
    SetCaption(lbl_BBSJ,
               ToQ(Texts::Gbk("播报时间：") + SysUtils::FormatDateTime("hh:mm:ss", SysUtils::Now())));
}

void TMainFrm::WriteDateLine() {
    const AnsiString date = SysUtils::FormatDateTime(Texts::Gbk("YYYY年MM月DD日"), SysUtils::Now());
    SetCaption(lbl_3, ToQ(date + " " + AppControl->GetWeekName()));
}

void TMainFrm::SetCaption(QLabel* label, const QString& text) {
    label->setText(text);
    // The other labels size themselves to their text. While the window is hidden that waits for its next
    // showing (showEvent): sizing lays the text out, which loads the fonts (the CJK face alone holds
    // megabytes) and was most of what the clock's update cost each second in the tray.
    if (label != lbl_1 && isVisible()) label->adjustSize();
    E2EDump::Set(label->objectName(), text);
}

void TMainFrm::LoadBackground() {
    if (!AppControl || AppControl->BJTP.empty()) return;
    const std::string native = plat::GbkToUtf8(AppControl->BJTP);
    const QString path = QString::fromUtf8(native.data(), static_cast<qsizetype>(native.size()));
    if (!QFileInfo(path).isFile()) return;
    const AnsiString quoted = "'" + AppControl->BJTP + "'";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Exception("Cannot open the background picture " + quoted);
    if (file.read(2) != "BM")
        throw Exception("The background picture " + quoted + " is not a Windows bitmap");
    QImage image;
    if (!file.seek(0) || !image.load(&file, "BMP"))
        throw Exception("The background picture " + quoted + " is not a valid Windows bitmap");
    img_BJTP->SetPicture(image);
    img_BJTP->lower();  // beneath the labels
}

void TMainFrm::ShowAd() {
    if (WBManage) WBManage->ShowAd();
}

void TMainFrm::WebBrowserDownloadComplete() {
    ++DownloadCount;
    if (DownloadCount <= 2 || !BannerBrowser) return;
    BannerBrowser->RunDocumentSteps(false,
                                    [](const TDocumentSteps& steps) { TWBManage::RaiseStepError(steps); });
}

void TMainFrm::ShowForm() {
    // A request that arrives while a slide runs starts a fresh slide; the outer one then sees that
    // the window has already come up and stops without moving it again. The full height is the
    // design height, so no nested call can leave a wrong target behind.
    const int serial = ++slideSerial_;
    if (WBManage) WBManage->Blank();
    WriteDateLine();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    PopupHeight = DesignHeight;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    // The slide keeps its own place and height instead of reading the window's back each step: a
    // configure event from the X server, handled while messages are pumped, can carry an older
    // geometry, and a step taken from it would end the window a step too high.
    const int left = screen.x() + screen.width() - width() - 2;
    int top = screen.y() + screen.height() - 46;
    int slideHeight = 16;
    setGeometry(left, top, width(), slideHeight);
    show();
    raise();
    while (slideHeight < PopupHeight + 5) {
        slideHeight += 3;
        top -= 3;
        setGeometry(left, top, width(), slideHeight);
        repaint();
        QApplication::processEvents();
        if (serial != slideSerial_) return;
    }
    setGeometry(left, top, width(), DesignHeight);
    PopupHeight = 0;
    ShowAd();
}

void TMainFrm::SetTaskbarEntry(bool shown) {
    const bool hasEntry = !windowFlags().testFlag(Qt::Tool);
    if (hasEntry != shown) setWindowFlag(Qt::Tool, !shown);
}

void TMainFrm::img2Click() {
    // Checked on each minimise: a notification area may come or go while the program runs.
    if (TTrayIcon::IsAvailable()) {
        SetTaskbarEntry(false);
        TrayIcon->Add();
        hide();
    } else {
        SetTaskbarEntry(true);
        showMinimized();
    }
}

void TMainFrm::TimerHideTimer() {
    TimerHide->stop();
    img2Click();
}

void TMainFrm::TrayIconClick() {
    ShowForm();
    TrayIcon->Remove();
}

void TMainFrm::img3Click() {
    close();
}

void TMainFrm::mni_ExitClick() {
    close();
}

void TMainFrm::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

void TMainFrm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimised from outside (the window manager): go to the tray like the minimise button does.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && TTrayIcon::IsAvailable()) {
        QTimer::singleShot(0, this, [this] {
            if (!isMinimized()) return;
            setWindowState(windowState() & ~Qt::WindowMinimized);
            img2Click();
        });
    }
}

void TMainFrm::showEvent(QShowEvent* event) {
    for (QLabel* label : {lbl_2, lbl_3, lbl_BBSJ}) label->adjustSize();  // before the first paint
    QWidget::showEvent(event);
    E2EDump::Set(QStringLiteral("winid"), QString::number(winId()));
}

void TMainFrm::img_setClick() {
    mni_SetClick();
}

void TMainFrm::mni_SetClick() {
    if (!ShowSetForm(AppControl->XHBX, TimerInfos)) return;
    AppControl->LoadSettings();
    ApplySettings();
    TimerObj->LastCircle = SysUtils::Now();
    LoadBackground();
}

void TMainFrm::img1MouseDown(Qt::MouseButton button, int x, int y) {
    FormMove->BeginMove(this, x, y, button, img1->geometry());
}

void TMainFrm::img1MouseMove(int x, int y) {
    FormMove->MoveTo(x, y);
}

void TMainFrm::img1MouseUp(Qt::MouseButton, int, int) {
    FormMove->EndMove();
}
