// The platform the program asks for before its application object exists: X11 through XWayland in a
// Wayland session, unless the user chose a platform.
#include <QTest>

#include "QtTestMain.h"
#include "qt/shell/uPlatformChoice.h"

class PlatformChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void decisionTable_data() {
        QTest::addColumn<QByteArray>("wayland");  // WAYLAND_DISPLAY; "-" stands for unset
        QTest::addColumn<QByteArray>("session");  // XDG_SESSION_TYPE
        QTest::addColumn<QByteArray>("qpa");      // QT_QPA_PLATFORM
        QTest::addColumn<QByteArray>("display");  // DISPLAY
        QTest::addColumn<QByteArray>("chosen");
        // clang-format off
        auto row = [](const char* name, const char* wayland, const char* session, const char* qpa,
                      const char* display, const char* chosen) {
            QTest::newRow(name) << QByteArray(wayland) << QByteArray(session) << QByteArray(qpa)
                                << QByteArray(display) << QByteArray(chosen);
        };
        // name                           WAYLAND_DISPLAY  XDG_SESSION_TYPE  QT_QPA_PLATFORM  DISPLAY  chosen
        row("wayland with xwayland",      "wayland-0",     "-",              "-",             ":0",    "xcb");
        row("wayland session type only",  "-",             "wayland",        "-",             ":1",    "xcb");
        row("user chose wayland",         "wayland-0",     "wayland",        "wayland",       ":0",    "");
        row("user chose offscreen",       "wayland-0",     "-",              "offscreen",     ":0",    "");
        row("empty choice is no choice",  "wayland-0",     "-",              "",              ":0",    "xcb");
        row("wayland without xwayland",   "wayland-0",     "wayland",        "-",             "-",     "");
        row("empty DISPLAY, no xwayland", "wayland-0",     "-",              "-",             "",      "");
        row("x11 session",                "-",             "x11",            "-",             ":0",    "");
        row("nothing set",                "-",             "-",              "-",             "-",     "");
        // clang-format on
    }
    void decisionTable() {
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, session);
        QFETCH(QByteArray, qpa);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, chosen);
        auto value = [](const QByteArray& v) { return v == "-" ? nullptr : v.constData(); };
        const TSessionEnv env{value(wayland), value(session), value(qpa), value(display)};
        QCOMPARE(QByteArray::fromStdString(ChooseQpaPlatform(env)), chosen);
    }

    // The choice lands in the environment the application object reads, and a user's choice stays.
    void applySetsOnlyWhenChosen() {
        const QByteArray saved[] = {qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM"),
                                    qgetenv("DISPLAY")};
        qputenv("WAYLAND_DISPLAY", "wayland-0");
        qputenv("DISPLAY", ":5");
        qunsetenv("QT_QPA_PLATFORM");
        ApplyQpaPlatformChoice();
        const QByteArray forced = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", "wayland");
        ApplyQpaPlatformChoice();
        const QByteArray kept = qgetenv("QT_QPA_PLATFORM");
        qputenv("WAYLAND_DISPLAY", saved[0]);
        qputenv("QT_QPA_PLATFORM", saved[1]);
        qputenv("DISPLAY", saved[2]);
        QCOMPARE(forced, QByteArray("xcb"));
        QCOMPARE(kept, QByteArray("wayland"));
    }
};

CHIMEWICK_QTEST_MAIN(PlatformChoiceTest)
#include "PlatformChoiceTest.moc"
