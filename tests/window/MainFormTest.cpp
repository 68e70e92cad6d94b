// The main window on the offscreen platform: layout, start-up, the settings copied into the scheduler,
// the texts it shows, the slide's final place (also when a second slide starts inside the first),
// dragging, the background picture and the error handler.
#include <QDialog>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "QtTestMain.h"
#include "app/uMainForm.h"
#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "settings/uControlObj.h"
#include "support/FakeClock.h"
#include "support/ScriptedBoxes.h"
#include "support/TempProgramDir.h"
#include "window/uApplication.h"
#include "window/uQtText.h"

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
        // Let the one-shot hide timer run first, as it does right after a real start.
        QTRY_VERIFY(!form->TimerHide->isActive());
    }
    ~Program() {
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
    void layoutAtDesignSize() {
        Program p;
        TMainFrm& f = *p.form;
        QCOMPARE(f.size(), QSize(442, 259));
        struct Row {
            const char* name;
            QWidget* widget;
            QRect rect;  // in its parent
        } rows[] = {
            {"pnl_TOP", f.pnl_TOP, {0, 0, 442, 22}},
            {"pnl_TOP_CLIENT", f.pnl_TOP_CLIENT, {0, 0, 383, 22}},
            {"img1", f.img1, {0, 0, 383, 22}},
            {"img_set", f.img_set, {358, 0, 22, 22}},
            {"pnl_TOP_R1", f.pnl_TOP_R1, {383, 0, 26, 22}},
            {"img2", f.img2, {0, 0, 23, 22}},
            {"pnl_TOP_R2", f.pnl_TOP_R2, {409, 0, 24, 22}},
            {"img3", f.img3, {0, 0, 25, 22}},
            {"pnl_TOP_R3", f.pnl_TOP_R3, {433, 0, 9, 22}},
            {"img4", f.img4, {0, 0, 9, 22}},
            {"Panel1", f.Panel1, {0, 22, 442, 147}},
            {"img_BJTP", f.img_BJTP, {0, 0, 442, 147}},
            {"lbl_1", f.lbl_1, {8, 88, 422, 51}},
            {"Panel2", f.Panel2, {0, 169, 442, 90}},
            {"WebBrowser", f.WebBrowser, {-16, -16, 586, 139}},
        };
        for (const Row& row : rows) QVERIFY2(row.widget->geometry() == row.rect, row.name);
        QCOMPARE(f.lbl_3->pos(), QPoint(15, 5));
        QCOMPARE(f.lbl_2->pos(), QPoint(8, 1));
        QCOMPARE(f.lbl_BBSJ->pos(), QPoint(8, 65));
        QVERIFY(f.lbl_1->wordWrap());
    }

    void windowKindColoursAndFonts() {
        Program p;
        TMainFrm& f = *p.form;
        QVERIFY(f.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(f.palette().color(QPalette::Window), QColor(186, 244, 0));
        for (TPanel* strip : {f.pnl_TOP_CLIENT, f.pnl_TOP_R1, f.pnl_TOP_R2, f.pnl_TOP_R3})
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

    // Only the date line is filled at start; the other labels wait for the clock and a reminder.
    void startFillsOnlyTheDateLine() {
        Program p;
        QCOMPARE(p.form->lbl_3->text(), QStringLiteral("2026年12月09日 星期三"));
        QCOMPARE(p.form->lbl_1->text(), QString());
        QCOMPARE(p.form->lbl_2->text(), QString());
        QCOMPARE(p.form->lbl_BBSJ->text(), QString());
        QVERIFY(p.form->TimerCheckWarn->isActive());
        QVERIFY(p.errors.empty());
        QVERIFY(p.boxes.shown.empty());
    }

    void applySettings_data() {
        QTest::addColumn<QString>("xhbx");
        QTest::addColumn<double>("circle");
        QTest::addColumn<double>("onTime");
        QTest::addColumn<double>("onTime2");
        QTest::addColumn<double>("onTime3");
        QTest::newRow("cyclic off ignores the period") << "startXHBJ=0\nxhzq=120\n"
                                                       << 0.0 << -1.0 << -1.0 << -1.0;
        QTest::newRow("cyclic on, 120 minutes") << "startXHBJ=1\nxhzq=120\n"
                                                << 7200.0 << -1.0 << -1.0 << -1.0;
        // 40000000 * 60 does not fit 32 bits and wraps round.
        QTest::newRow("product wraps in 32 bits") << "startXHBJ=1\nxhzq=40000000\n"
                                                  << -1894967296.0 << -1.0 << -1.0 << -1.0;
        QTest::newRow("slots on take their times")
            << "startDSBJ=1\nOnTime=7\nstartDSBJ2=1\nOnTime2=12:00\nstartDSBJ3=1\nOnTime3=18:30\n"
            << 0.0 << 7.0 / 24 << 0.5 << 18.5 / 24;
        QTest::newRow("a switched-off slot is -1 whatever its time")
            << "startDSBJ=0\nOnTime=08:00\nstartDSBJ2=1\nstartDSBJ3=01\n"
            << 0.0 << -1.0 << 17.0 / 24 << -1.0;
    }
    void applySettings() {
        QFETCH(QString, xhbx);
        QFETCH(double, circle);
        QFETCH(double, onTime);
        QFETCH(double, onTime2);
        QFETCH(double, onTime3);
        Program p(kQuietStart + "[XHBX]\n" + xhbx.toStdString() +
                  "OnTimeTxnr=a\nOnTimeTxnr2=b\nOnTimeTxnr3=c\ntxnr=d\n");
        const TTimerObj& t = *p.form->TimerObj;
        QCOMPARE(t.Circle_Time, circle);
        QCOMPARE(t.OnTime_Time, onTime);
        QCOMPARE(t.OnTime2_Time, onTime2);
        QCOMPARE(t.OnTime3_Time, onTime3);
        QCOMPARE(QString::fromStdString(t.OnTime_Content + t.OnTime2_Content + t.OnTime3_Content +
                                        t.WarnForm_Content),
                 QStringLiteral("abcd"));
        QVERIFY(p.errors.empty());
    }

    void showWarnText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("blanks and line breaks around") << " \t喝水 啦\r\n" << QStringLiteral("喝水 啦");
        QTest::newRow("blanks only") << "   " << QString();
        QTest::newRow("empty") << "" << QString();
    }
    void showWarnText() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        Program p;
        p.clock.Set(2026, 12, 9, 9, 5, 7);
        p.form->ShowWarnText(FromQ(text));
        QCOMPARE(p.form->lbl_1->text(), shown);
        QCOMPARE(p.form->lbl_BBSJ->text(), QStringLiteral("播报时间：09:05:07"));
    }

    // A tick writes the clock, and a fixed-time reminder due in it brings the window up with its text.
    void tickFiresReminderAndWindowComesUp() {
        Program p(kQuietStart + "[XHBX]\nstartDSBJ=1\nOnTime=12:00\nOnTimeTxnr=  Lunch  \n");
        p.form->TimerCheckWarnTimer();
        QCOMPARE(p.form->lbl_2->text(), QStringLiteral("11:59:57"));
        QVERIFY(!p.form->isVisible() || p.form->isMinimized());
        p.clock.Set(2026, 12, 9, 12, 0, 0, 400);
        p.form->TimerCheckWarnTimer();
        QCOMPARE(p.form->lbl_2->text(), QStringLiteral("12:00:00"));
        QCOMPARE(p.form->lbl_1->text(), QStringLiteral("Lunch"));
        QCOMPARE(p.form->lbl_BBSJ->text(), QStringLiteral("播报时间：12:00:00"));
        QVERIFY(p.form->isVisible() && !p.form->isMinimized());
        QCOMPARE(p.form->geometry(), FinalPlace());
    }

    // Wherever the window was dragged, the slide ends 36 pixels above the bottom and 2 from the right.
    void slideEndsAtBottomRight() {
        Program p;
        p.form->move(10, 10);
        p.form->ShowForm();
        QCOMPARE(p.form->geometry(), FinalPlace());
        QCOMPARE(p.form->PopupHeight, 0);
        QCOMPARE(p.form->lbl_3->text(), QStringLiteral("2026年12月09日 星期三"));
    }

    // A reminder that arrives while a slide runs: the window still ends at full height in its place
    // and shows the newest text.
    void slideStartedInsideASlide() {
        Program p;
        bool insideSlide = false;
        QTimer::singleShot(0, p.form.get(), [&] {
            insideSlide = p.form->PopupHeight != 0 && p.form->height() < 259;
            p.form->ShowWarnText("second");
            p.form->ShowForm();
        });
        p.form->ShowWarnText("first");
        p.form->ShowForm();
        QVERIFY(insideSlide);
        QCOMPARE(p.form->geometry(), FinalPlace());
        QCOMPARE(p.form->PopupHeight, 0);
        QCOMPARE(p.form->lbl_1->text(), QStringLiteral("second"));
    }

    void formMoveFollowsThePointer() {
        QWidget window;
        window.move(100, 100);
        TFormMove move;
        move.MoveTo(50, 50);  // idle: nothing
        QCOMPARE(window.pos(), QPoint(100, 100));
        move.BeginMove(&window, 10, 5);
        QVERIFY(move.IsMoving);
        QCOMPARE(move.LastPoint, QPoint(110, 105));
        move.MoveTo(30, 12);  // the pointer travelled (20, 7)
        QCOMPARE(window.pos(), QPoint(120, 107));
        QCOMPARE(move.LastPoint, QPoint(130, 112));
        move.MoveTo(10, 5);  // the window followed: same screen point, no move
        QCOMPARE(window.pos(), QPoint(120, 107));
        move.MoveTo(-40, -25);  // back past the start
        QCOMPARE(window.pos(), QPoint(70, 77));
        move.EndMove();
        QVERIFY(!move.IsMoving);
        QVERIFY(move.MoveForm.isNull());
        move.MoveTo(0, 0);
        QCOMPARE(window.pos(), QPoint(70, 77));
    }

    // Any button drags; a move without a pressed button does nothing; releasing ends the drag.
    void titleStripDragsWithAnyButton() {
        Program p;
        TMainFrm& f = *p.form;
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
        TMainFrm& f = *p.form;
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
        QVERIFY(!f.FormMove->IsMoving);
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
        QCOMPARE(p.form->img_BJTP->HasPicture(), picture);
        if (error.isEmpty()) {
            QVERIFY(p.errors.empty());
        } else {
            QCOMPARE(p.errors.size(), std::size_t(1));
            QVERIFY2(QString::fromStdString(p.errors[0]).contains(error), p.errors[0].c_str());
            QVERIFY(QString::fromStdString(p.errors[0]).contains(QStringLiteral("图.bmp")));
        }
        if (picture) {
            QCOMPARE(p.form->img_BJTP->Picture().toImage().pixelColor(0, 9).alpha(), 0);  // keyed out
            QCOMPARE(p.form->Panel1->children().indexOf(p.form->img_BJTP), 0);  // beneath the labels
            // Pointing the setting at a missing file keeps the picture shown so far.
            AppControl->BJTP = "/nonexistent/x.bmp";
            p.form->LoadBackground();
            QVERIFY(p.form->img_BJTP->HasPicture());
        }
    }

    // A malformed value in the file: its message is shown, every other key is as stored, the bad one
    // takes its default, start-up completes and the file is left alone.
    void malformedSettingStillStarts() {
        const std::string ini = kQuietStart + "[XHBX]\nstartXHBJ=1\nxhzq=abc\nstartDSBJ=1\nOnTime=12:30\n";
        Program p(ini);
        QCOMPARE(p.errors, std::vector<std::string>{"'abc' is not a valid integer value"});
        QVERIFY(AppControl);
        QCOMPARE(AppControl->XHBX.xhzq, 120);
        QCOMPARE(p.form->TimerObj->Circle_Time, 7200.0);
        QCOMPARE(p.form->TimerObj->OnTime_Time, 12.5 / 24);
        QVERIFY(p.form->TimerCheckWarn->isActive());
        QCOMPARE(p.dir.ReadIni(), ini);
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
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll.stop();
            sawDialog = true;
            p.dir.WriteIni(kQuietStart + "[XHBX]\nstartXHBJ=1\nxhzq=5\nstartDSBJ3=1\nOnTime3=06:15\n");
            p.clock.Set(closedAt);
            dialog->done(QDialog::Accepted);
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
        QVERIFY(p.form->isMinimized());
        QVERIFY(!p.form->windowFlags().testFlag(Qt::Tool));
        p.form->ShowForm();
        QVERIFY(!p.form->isMinimized());
        QCOMPARE(p.form->geometry(), FinalPlace());
    }
};

CHIMEWICK_QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
