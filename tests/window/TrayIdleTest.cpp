// The main window while it waits in the tray: the check timer really ticks (the clock label fills in
// with the time of the tick), and labels written while the window is hidden get their size when it
// comes up.
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "QtTestMain.h"
#include "app/uMainForm.h"
#include "platform/ExePath.h"
#include "qt/shell/uApplication.h"
#include "qt/uMainFrmQt.h"
#include "support/FakeClock.h"
#include "support/ScriptedBoxes.h"

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
        form = std::make_unique<TMainFrm>();
        win = std::make_unique<TMainFrmQt>(*form);
        form->FormCreate(*win);
    }
    ~Program() {
        win.reset();
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
    std::unique_ptr<TMainFrm> form;
    std::unique_ptr<TMainFrmQt> win;

private:
    std::filesystem::path root_;
};

}  // namespace

class TrayIdleTest : public QObject {
    Q_OBJECT
private slots:
    // Started at 11:59:57.700, the first tick lands just after the next second begins: the clock label
    // shows the time of that tick, and within a second of the start.
    void theCheckTimerTicks() {
        Program p(700);
        QElapsedTimer waited;
        waited.start();
        QTRY_VERIFY_WITH_TIMEOUT(!p.win->lbl_2->text().isEmpty(), 5000);
        QCOMPARE(p.win->lbl_2->text(), QStringLiteral("11:59:57"));  // the fake clock stands still
        QCOMPARE(p.errors, 0);
        // A second tick follows: the label is rewritten with the clock moved on.
        p.clock.Set(2026, 12, 9, 11, 59, 59, 2);
        QTRY_COMPARE_WITH_TIMEOUT(p.win->lbl_2->text(), QStringLiteral("11:59:59"), 5000);
    }

    // Texts written while the window waits in the tray (the clock, a reminder's announcement) are shown
    // whole when it comes up again.
    void labelsWrittenWhileHiddenFitWhenShown() {
        Program p(0);
        p.form->ShowForm();
        p.win->hide();  // as in the tray (offscreen has no tray, so the minimise picture would minimise)
        p.TickAt(500);  // the clock label was empty when the window was last up
        p.form->ShowWarnText("Lunch");
        p.form->ShowForm();
        QVERIFY(p.win->isVisible());
        for (QLabel* label : {p.win->lbl_2, p.win->lbl_3, p.win->lbl_BBSJ}) {
            QVERIFY(!label->text().isEmpty());
            QCOMPARE(label->size(), label->sizeHint());
        }
    }
};

CHIMEWICK_QTEST_MAIN(TrayIdleTest)
#include "TrayIdleTest.moc"
