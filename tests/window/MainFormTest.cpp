// The main window on the offscreen platform: layout, start-up, the settings copied into the scheduler,
// the texts it shows, the slide's final place (also when a second slide starts inside the first),
// dragging, the background picture and the error handler.
#include <QDialog>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimeEdit>
#include <memory>
#include <string>
#include <vector>

#include "QtTestMain.h"
#include "app/uMainForm.h"
#include "app/uMainFrmLayout.h"
#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "qt/shell/uApplication.h"
#include "qt/shell/uQtText.h"
#include "qt/uMainFrmQt.h"
#include "qt/uSetControls.h"
#include "qt/uSetFrmQt.h"
#include "settings/uControlObj.h"
#include "support/FakeClock.h"
#include "support/ScriptedBoxes.h"
#include "support/TempProgramDir.h"

namespace {

const std::string kQuietStart = "[XTSZ]\r\nNotFirstStart=1\r\n";

// One program run: its own folder and settings file, a fixed clock, recorded error messages and
// the main window built on them.
class Program {
public:
    explicit Program(const std::string& iniBytes = kQuietStart, TDateTime now = DefaultNow()) : clock(now) {
        dir.WriteIni(iniBytes);
        SetErrorSink([this](const std::string& message) { errors.push_back(plat::GbkToUtf8(message)); });
        form = std::make_unique<TMainFrm>();
        win = std::make_unique<TMainFrmQt>(*form);
        form->FormCreate(*win);
        // Let the one-shot hide timer run first, as it does right after a real start.
        QTRY_VERIFY(!win->TimerHide.isActive());
    }
    ~Program() {
        win.reset();
        form.reset();
        SetErrorSink({});
    }
    static TDateTime DefaultNow() {
        return SysUtils::EncodeDate(2026, 12, 9) + SysUtils::EncodeTime(11, 59, 57, 0);
    }

    TempProgramDir dir;
    FakeClock clock;
    ScriptedBoxes boxes;
    std::vector<std::string> errors;  // UTF-8
    std::unique_ptr<TMainFrm> form;
    std::unique_ptr<TMainFrmQt> win;
};

QRect FinalPlace() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return QRect(screen.right() + 1 - 442 - 2, screen.bottom() + 1 - 36 - 259, 442, 259);
}

void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               QPoint pos) {
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    // What the user sees of the window at its design size: the pale title strip with its three
    // pictures at the right, the blue content panel and the banner strip below it.
    void drawnLayout() {
        Program p;
        p.form->ShowForm();
        QCOMPARE(p.win->geometry(), FinalPlace());
        const QImage shot = p.win->grab().toImage();
        QCOMPARE(shot.size(), QSize(442, 259));
        const QColor strip(240, 251, 255), content(198, 216, 242);
        struct Spot {
            const char* what;
            QPoint at;
            bool isStrip;
        } spots[] = {
            {"drag strip", {200, 3}, true},
            {"right margin", {438, 3}, true},
            {"gap before settings", {355, 3}, true},
        };
        for (const Spot& spot : spots) QVERIFY2(shot.pixelColor(spot.at) == strip, spot.what);
        // The settings, minimise and close pictures are drawn where they belong.
        for (int left : {358, 383, 409}) {
            int ink = 0;
            for (int y = 0; y < 22; ++y)
                for (int x = left; x < left + 22; ++x) ink += shot.pixelColor(x, y) != strip;
            QVERIFY2(ink > 10, qPrintable(QStringLiteral("picture at %1").arg(left)));
        }
        QCOMPARE(shot.pixelColor(300, 60), content);  // the content panel, y 22 to 169
        QCOMPARE(shot.pixelColor(300, 166), content);
        QVERIFY(shot.pixelColor(300, 172) != content);  // the banner strip from 169 on
        QVERIFY(p.win->lbl_1->wordWrap());
    }

    // Every row of the layout table is one widget of its kind, under its parent, where the table
    // places it at the design size and after a resize.
    void everyControlOfTheLayout() {
        Program p;
        TMainFrmQt& f = *p.win;
        const std::vector<MainFrmLayout::TControl>& rows = MainFrmLayout::Controls();
        QCOMPARE(f.LayoutWidgets.size(), rows.size());
        for (QSize size : {QSize(442, 259), QSize(600, 400)}) {
            f.resize(size);
            const std::vector<TRect> places = MainFrmLayout::Place(size.width(), size.height());
            for (size_t i = 0; i < rows.size(); ++i) {
                const MainFrmLayout::TControl& row = rows[i];
                const QString name = QString::fromUtf8(row.Name);
                auto* widget = f.findChild<QWidget*>(name);
                QVERIFY2(widget, qPrintable(name));
                QCOMPARE(widget, f.LayoutWidgets[i]);
                QWidget* parent = row.Parent ? f.findChild<QWidget*>(QString::fromUtf8(row.Parent)) : &f;
                QVERIFY2(widget->parentWidget() == parent, qPrintable(name));
                bool kindMatches = false;
                switch (row.Kind) {
                    case MainFrmLayout::TKind::Panel:
                        kindMatches = qobject_cast<TMainFrmQt::TPanel*>(widget) != nullptr;
                        break;
                    case MainFrmLayout::TKind::Image:
                        kindMatches = qobject_cast<TImage*>(widget) != nullptr;
                        break;
                    case MainFrmLayout::TKind::Label:
                        kindMatches =
                            qobject_cast<QLabel*>(widget) && !qobject_cast<QLabel*>(widget)->wordWrap();
                        break;
                    case MainFrmLayout::TKind::WrapLabel:
                        kindMatches =
                            qobject_cast<QLabel*>(widget) && qobject_cast<QLabel*>(widget)->wordWrap();
                        break;
                    case MainFrmLayout::TKind::Browser:
                        kindMatches = widget->metaObject() == &QWidget::staticMetaObject;
                        break;
                }
                QVERIFY2(kindMatches, qPrintable(name));
                const TRect& r = places[i];
                if (row.Kind == MainFrmLayout::TKind::Label) {
                    QCOMPARE(widget->pos(), QPoint(r.Left, r.Top));
                } else {
                    QCOMPARE(widget->geometry(), QRect(r.Left, r.Top, r.Width, r.Height));
                }
            }
        }
    }

    void windowKindColoursAndFonts() {
        Program p;
        TMainFrmQt& f = *p.win;
        QVERIFY(f.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(f.palette().color(QPalette::Window), QColor(186, 244, 0));
        for (TMainFrmQt::TPanel* strip : {f.pnl_TOP_CLIENT, f.pnl_TOP_R1, f.pnl_TOP_R2, f.pnl_TOP_R3})
            QCOMPARE(strip->Color(), QColor(240, 251, 255));
        QCOMPARE(f.Panel1->Color(), QColor(198, 216, 242));
        struct FontRow {
            QLabel* label;
            QString family;
            int pixels;
        } fonts[] = {{f.lbl_3, QStringLiteral("宋体"), 12},
                     {f.lbl_1, QStringLiteral("楷体_GB2312"), 16},
                     {f.lbl_BBSJ, QStringLiteral("楷体_GB2312"), 16},
                     {f.lbl_2, QStringLiteral("Cambria"), 48}};
        for (const FontRow& row : fonts) {
            QCOMPARE(row.label->font().family(), row.family);
            QCOMPARE(row.label->font().pixelSize(), row.pixels);
            QVERIFY(row.label->font().bold());
        }
        QCOMPARE(f.lbl_2->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        for (TImage* button : {f.img_set, f.img2, f.img3}) {
            QVERIFY(button->HasPicture());
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        }
    }

    // A tick writes the clock, and a fixed-time reminder due in it brings the window up with its text.
    void tickFiresReminderAndWindowComesUp() {
        Program p(kQuietStart + "[XHBX]\nstartDSBJ=1\nOnTime=12:00\nOnTimeTxnr=  Lunch  \n");
        p.form->TimerCheckWarnTimer();
        QCOMPARE(p.win->lbl_2->text(), QStringLiteral("11:59:57"));
        QVERIFY(!p.win->isVisible() || p.win->isMinimized());
        p.clock.Set(2026, 12, 9, 12, 0, 0, 400);
        p.form->TimerCheckWarnTimer();
        QCOMPARE(p.win->lbl_2->text(), QStringLiteral("12:00:00"));
        QCOMPARE(p.win->lbl_1->text(), QStringLiteral("Lunch"));
        QCOMPARE(p.win->lbl_BBSJ->text(), QStringLiteral("播报时间：12:00:00"));
        QVERIFY(p.win->isVisible() && !p.win->isMinimized());
        QCOMPARE(p.win->geometry(), FinalPlace());
    }

    // Wherever the window was dragged, the slide ends 36 pixels above the bottom and 2 from the right.
    void slideEndsAtBottomRight() {
        Program p;
        p.win->move(10, 10);
        p.form->ShowForm();
        QCOMPARE(p.win->geometry(), FinalPlace());
        QCOMPARE(p.form->PopupHeight, 0);
        QCOMPARE(p.win->lbl_3->text(), QStringLiteral("2026年12月09日 星期三"));
    }

    // A reminder that arrives while a slide runs: the window still ends at full height in its place
    // and shows the newest text.
    void slideStartedInsideASlide() {
        Program p;
        bool insideSlide = false;
        QTimer::singleShot(0, p.win.get(), [&] {
            insideSlide = p.form->PopupHeight != 0 && p.win->height() < 259;
            p.form->ShowWarnText("second");
            p.form->ShowForm();
        });
        p.form->ShowWarnText("first");
        p.form->ShowForm();
        QVERIFY(insideSlide);
        QCOMPARE(p.win->geometry(), FinalPlace());
        QCOMPARE(p.form->PopupHeight, 0);
        QCOMPARE(p.win->lbl_1->text(), QStringLiteral("second"));
    }

    // Any button drags; a move without a pressed button does nothing; releasing ends the drag.
    void titleStripDragsWithAnyButton() {
        Program p;
        TMainFrmQt& f = *p.win;
        f.move(200, 150);
        SendMouse(f.img1, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {40, 10});
        QCOMPARE(f.pos(), QPoint(200, 150));
        SendMouse(f.img1, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {40, 10});
        SendMouse(f.img1, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, {55, 4});
        QCOMPARE(f.pos(), QPoint(215, 144));
        SendMouse(f.img1, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {40, 10});
        SendMouse(f.img1, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {90, 10});
        QCOMPARE(f.pos(), QPoint(215, 144));
    }

    // The left button captures the pointer, so the window follows it off the strip too; with the right or
    // the middle button it follows only while the pointer is over the strip.
    void dragOffTheStrip_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("captured");
        QTest::newRow("left") << Qt::LeftButton << true;
        QTest::newRow("right") << Qt::RightButton << false;
        QTest::newRow("middle") << Qt::MiddleButton << false;
    }
    void dragOffTheStrip() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, captured);
        Program p;
        TMainFrmQt& f = *p.win;
        f.show();  // a shown window's screen position follows each step at once
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.move(200, 150);
        SendMouse(f.img1, QEvent::MouseButtonPress, button, button, {40, 10});
        SendMouse(f.img1, QEvent::MouseMove, Qt::NoButton, button, {50, 12});  // along the strip
        QCOMPARE(f.pos(), QPoint(210, 152));
        // Off the strip: over the content below it, then left of the window.
        SendMouse(f.img1, QEvent::MouseMove, Qt::NoButton, button, {60, 80});
        SendMouse(f.img1, QEvent::MouseMove, Qt::NoButton, button, {-30, 10});
        QCOMPARE(f.pos() != QPoint(210, 152), captured);
        SendMouse(f.img1, QEvent::MouseButtonRelease, button, Qt::NoButton, {-30, 10});
        QVERIFY(!p.form->FormMove.IsMoving);
    }

    void background_data() {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("error");  // empty: none
        QTest::addColumn<bool>("picture");
        QTest::newRow("a bitmap") << QByteArray("bmp") << QString() << true;
        QTest::newRow("a PNG") << QByteArray("png") << QStringLiteral("is not a Windows bitmap") << false;
        QTest::newRow("a broken bitmap")
            << QByteArray("BMjunk") << QStringLiteral("is not a valid Windows bitmap") << false;
        QTest::newRow("missing file") << QByteArray() << QString() << false;
    }
    void background() {
        QFETCH(QByteArray, kind);
        QFETCH(QString, error);
        QFETCH(bool, picture);
        TempProgramDir pictures;  // only for a folder with a Chinese name to hold the picture
        const std::filesystem::path folder = pictures.Root() / "背景";
        std::filesystem::create_directories(folder);
        const QString file = QString::fromStdString((folder / "图.bmp").string());
        QImage image(20, 10, QImage::Format_RGB888);
        image.fill(Qt::red);
        image.setPixelColor(0, 9, Qt::white);
        if (kind == "bmp" || kind == "png") QVERIFY(image.save(file, kind.constData()));
        if (kind.startsWith("BM")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kind);
        }
        Program p(kQuietStart + "BJTP=" + plat::Utf8ToGbk(file.toStdString()) + "\n");
        QCOMPARE(p.win->img_BJTP->HasPicture(), picture);
        if (error.isEmpty()) {
            QVERIFY(p.errors.empty());
        } else {
            QCOMPARE(p.errors.size(), std::size_t(1));
            QVERIFY2(QString::fromStdString(p.errors[0]).contains(error), p.errors[0].c_str());
            QVERIFY(QString::fromStdString(p.errors[0]).contains(QStringLiteral("图.bmp")));
        }
        if (picture) {
            QCOMPARE(p.win->img_BJTP->Picture().toImage().pixelColor(0, 9).alpha(), 0);  // keyed out
            QCOMPARE(p.win->Panel1->children().indexOf(p.win->img_BJTP), 0);             // beneath the labels
            // Pointing the setting at a missing file keeps the picture shown so far.
            AppControl->BJTP = "/nonexistent/x.bmp";
            p.form->LoadBackground();
            QVERIFY(p.win->img_BJTP->HasPicture());
        }
    }

    // The settings command: what the dialog left in the file is read back and put into force, and
    // the cyclic period restarts from the moment the dialog closed.
    void settingsCommandAppliesTheFile() {
        Program p(kQuietStart + "[XHBX]\nstartXHBJ=0\n");
        QCOMPARE(p.form->TimerObj->Circle_Time, 0.0);
        const TDateTime closedAt = SysUtils::EncodeDate(2026, 12, 9) + SysUtils::EncodeTime(14, 0, 0, 0);
        bool sawDialog = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<TSetFrmQt*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll.stop();
            sawDialog = true;
            dialog->chk_startxhbx->setChecked(true);
            dialog->edt_XHBX_XHZQ->setText(QStringLiteral("5"));
            dialog->cbDsbj3->setChecked(true);
            dialog->edt_OnTime3->setTime(QTime(6, 15));
            p.clock.Set(closedAt);
            dialog->Form.img3Click();
        });
        poll.start(5);
        p.form->img_setClick();
        QVERIFY(sawDialog);
        QCOMPARE(p.form->TimerObj->Circle_Time, 300.0);
        QCOMPARE(p.form->TimerObj->OnTime3_Time, 6.25 / 24);
        QCOMPARE(p.form->TimerObj->LastCircle, closedAt);
    }

    // An exception out of a timer handler is shown; the timer keeps ticking.
    void errorHandlerKeepsTimersTicking() {
        std::vector<std::string> messages;
        SetErrorSink([&](const std::string& m) { messages.push_back(m); });
        QTimer timer;
        timer.setInterval(1);
        int ticks = 0;
        connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            throw EConvertError("'x' is not a valid time");
        });
        timer.start();
        QTRY_VERIFY(ticks >= 3);
        timer.stop();
        SetErrorSink({});
        QCOMPARE(messages.size(), std::size_t(ticks));
        QCOMPARE(messages.front(), std::string("'x' is not a valid time"));
    }

    // Without a notification area the window is minimised normally (with a taskbar entry) instead
    // of being hidden where nobody could reach it.
    void minimiseWithoutTrayKeepsWindowReachable() {
        if (QSystemTrayIcon::isSystemTrayAvailable()) QSKIP("this platform has a tray");
        Program p;  // the hide timer has run
        QVERIFY(p.win->isMinimized());
        QVERIFY(!p.win->windowFlags().testFlag(Qt::Tool));
        p.form->ShowForm();
        QVERIFY(!p.win->isMinimized());
        QCOMPARE(p.win->geometry(), FinalPlace());
    }
};

CHIMEWICK_QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
