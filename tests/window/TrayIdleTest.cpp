// The main window while it waits in the tray. The once-a-second check timer keeps to the clock's
// seconds: the first tick comes just after the next second begins, and each tick aims the next one at
// the start of a second while staying within 50 ms of a one-second pace, so a reminder's minute is seen
// a few milliseconds after it starts. Labels written while the window is hidden get their size when it
// comes up.
#include <QLabel>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "QtTestMain.h"
#include "qt/uMainFrmQt.h"
#include "platform/ExePath.h"
#include "support/FakeClock.h"
#include "support/ScriptedBoxes.h"
#include "qt/shell/uApplication.h"

namespace {

// The main window on a settings file of its own (no first start) with the clock at 11:59:57 plus ms.
class Program {
public:
    explicit Program(int ms) {
        clock.Set(2026, 12, 9, 11, 59, 57, ms);
        std::random_device rd;
        root_ = std::filesystem::temp_directory_path() /
                ("chimewick-phase-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(root_ / "Ini");
        std::ofstream(root_ / "Ini" / "Tovik.ini", std::ios::binary) << "[XTSZ]\r\nNotFirstStart=1\r\n";
        plat::SetExecutablePathOverride((root_ / "chimewick").string());
        SetErrorSink([this](const std::string&) { ++errors; });
        form = std::make_unique<TMainFrmQt>();
    }
    ~Program() {
        form.reset();
        SetErrorSink({});
        plat::SetExecutablePathOverride("");
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    // Sets the clock to 11:59:58 plus ms and runs one tick.
    void TickAt(int ms) {
        clock.Set(2026, 12, 9, 11, 59, 58, ms);
        form->TimerCheckWarnTimer();
    }

    FakeClock clock;
    ScriptedBoxes boxes;
    int errors = 0;
    std::unique_ptr<TMainFrmQt> form;

private:
    std::filesystem::path root_;
};

}  // namespace

class TrayIdleTest : public QObject {
    Q_OBJECT
private slots:
    void firstTickJustAfterTheNextSecond_data() {
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("interval");
        QTest::newRow("on the second") << 0 << 1002;
        QTest::newRow("mid-second") << 700 << 302;
        QTest::newRow("last millisecond") << 999 << 3;
    }
    void firstTickJustAfterTheNextSecond() {
        QFETCH(int, ms);
        QFETCH(int, interval);
        Program p(ms);
        QVERIFY(p.form->TimerCheckWarn->isActive());
        QCOMPARE(p.form->TimerCheckWarn->interval(), interval);
        // A coarse timer may fire up to 5 % early, which would read the second before.
        QCOMPARE(p.form->TimerCheckWarn->timerType(), Qt::PreciseTimer);
        QCOMPARE(p.errors, 0);
    }

    void tickAimsAtTheNextSecondKeepingPace_data() {
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("interval");
        QTest::newRow("in phase") << 2 << 1000;
        QTest::newRow("on the second") << 0 << 1002;
        QTest::newRow("a little late") << 30 << 972;
        QTest::newRow("late: at most 50 ms shorter") << 100 << 950;
        QTest::newRow("late by almost half") << 450 << 950;
        QTest::newRow("early by almost half: at most 50 ms longer") << 600 << 1050;
        QTest::newRow("just before a second: the one after") << 990 << 1012;
    }
    void tickAimsAtTheNextSecondKeepingPace() {
        QFETCH(int, ms);
        QFETCH(int, interval);
        Program p(0);
        p.TickAt(ms);
        QVERIFY(p.form->TimerCheckWarn->isActive());
        QCOMPARE(p.form->TimerCheckWarn->interval(), interval);
    }

    // From any phase the ticks reach the start of the second within a few seconds and stay there.
    void ticksSettleOnTheSecond() {
        Program p(0);
        int ms = 500;
        for (int tick = 0; tick < 12; ++tick) {
            p.TickAt(ms);
            ms = (ms + p.form->TimerCheckWarn->interval()) % 1000;
        }
        QCOMPARE(ms, 2);
    }

    // Texts written while the window waits in the tray (the clock, a reminder's announcement) are shown
    // whole when it comes up again.
    void labelsWrittenWhileHiddenFitWhenShown() {
        Program p(0);
        p.form->ShowForm();
        p.form->hide();  // as in the tray (offscreen has no tray, so the minimise picture would minimise)
        p.TickAt(500);   // the clock label was empty when the window was last up
        p.form->ShowWarnText("Lunch");
        p.form->ShowForm();
        QVERIFY(p.form->isVisible());
        for (QLabel* label : {p.form->lbl_2, p.form->lbl_3, p.form->lbl_BBSJ}) {
            QVERIFY(!label->text().isEmpty());
            QCOMPARE(label->size(), label->sizeHint());
        }
    }
};

CHIMEWICK_QTEST_MAIN(TrayIdleTest)
#include "TrayIdleTest.moc"
