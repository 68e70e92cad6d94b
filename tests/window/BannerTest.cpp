// The banner: the manager's rules against a fake browser (next address after each page, the
// acceptance rules, the errors), the main window's download counting and the blank page before each
// slide, and the helper process's lifecycle against a stand-in helper that speaks its protocol
// (started, let go in the tray, restarted by a pop-up; one that cannot start, crashes or hangs), the
// page's deadline, and what the program opens in the user's browser when the helper asks.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "QtTestMain.h"
#include "app/uMainForm.h"
#include "app/uWebBrowserManage.h"
#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "platform/Log.h"
#include "qt/shell/uApplication.h"
#include "qt/uBannerBrowserQt.h"
#include "qt/uBannerHelper.h"
#include "qt/uMainFrmQt.h"
#include "support/FakeClock.h"
#include "support/ScriptedBoxes.h"
#include "support/TempProgramDir.h"

namespace {

const char kHost[] = "banner.test:8080";
const std::string kDefault = "http://banner.test:8080/ssh/TG/tbtg_gd_468_60.html";
const std::string kPrevious = "http://banner.test:8080/ssh/previous.html";

class FakeBrowser : public IBannerBrowser {
public:
    void Navigate(const std::string& url) override { navigations.push_back(url); }
    void KeepWhileHidden(bool keep) override { keeps.push_back(keep); }
    bool PageHeld() const override { return held; }
    void RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) override {
        requests.push_back(readNextUrl);
        pending.push_back(std::move(done));
    }
    // Completes a document and answers its steps.
    void Complete(TDocumentSteps::Outcome outcome, const std::string& value = {}) {
        OnDocumentComplete();
        Answer(outcome, value);
    }
    void Answer(TDocumentSteps::Outcome outcome, const std::string& value = {}) {
        auto done = std::move(pending.front());
        pending.erase(pending.begin());
        done(TDocumentSteps{outcome, value});
    }
    std::vector<std::string> navigations;
    std::vector<bool> requests;  // readNextUrl of each steps request
    std::vector<bool> keeps;     // each KeepWhileHidden
    bool held = false;           // what PageHeld answers
    std::vector<std::function<void(const TDocumentSteps&)>> pending;
};

// A main window built on its own folder, fixed clock and recorded errors.
struct Program {
    explicit Program(std::function<std::unique_ptr<IBannerBrowser>(QWidget*)> factory,
                     const char* ini = "[XTSZ]\r\nNotFirstStart=1\r\n")
        : clock(SysUtils::EncodeDate(2026, 12, 9) + SysUtils::EncodeTime(10, 0, 0, 0)) {
        dir.WriteIni(ini);
        SetErrorSink([this](const std::string& message) { errors.push_back(plat::GbkToUtf8(message)); });
        SetBannerBrowserFactory(std::move(factory));
        form = std::make_unique<TMainFrm>();
        win = std::make_unique<TMainFrmQt>(*form);
        form->FormCreate(*win);
        QTRY_VERIFY(!win->TimerHide.isActive());
    }
    ~Program() {
        win.reset();
        form.reset();
        SetBannerBrowserFactory({});
        SetErrorSink({});
    }
    TempProgramDir dir;
    FakeClock clock;
    ScriptedBoxes boxes;
    std::vector<std::string> errors;
    std::unique_ptr<TMainFrm> form;
    std::unique_ptr<TMainFrmQt> win;
};

QString FakeHelperScript() {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/fake_banner_helper.py";
}

// The interpreter that runs the stand-in helper: the system's own before any wrapper on the path (a
// version manager's shim alone can take seconds to start on a loaded machine).
QString StandInPython() {
    const QString system = QStandardPaths::findExecutable("python3", {"/usr/bin"});
    return system.isEmpty() ? QStandardPaths::findExecutable("python3") : system;
}

QStringList ReadLog(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

QStringList Navigations(const QString& log) {
    QStringList out;
    for (const QString& line : ReadLog(log))
        if (line.startsWith("NAVIGATE ")) out << QUrl::fromPercentEncoding(line.mid(9).toUtf8());
    return out;
}

bool ProcessAlive(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly)) return false;
    return !stat.readAll().contains(") Z ");  // a zombie has ended
}

}  // namespace

class BannerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("CHIMEWICK_AD_HOST", kHost); }

    void addressesComeFromTheHost() {
        QCOMPARE(TWBManage::DefaultPage(), kDefault);
        QCOMPARE(TWBManage::AcceptancePattern(), std::string("banner.test:8080/ssh"));
    }

    void showAdLoadsTheDefaultPageUntilAPageNamesAnother() {
        FakeBrowser browser;
        TWBManage manage(&browser);
        manage.ShowAd();
        browser.Complete(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/2.html");
        manage.ShowAd();
        browser.Complete(TDocumentSteps::NoNextUrl);  // keeps the address: the same page again
        manage.ShowAd();
        browser.Complete(TDocumentSteps::NextUrlValue, "http://elsewhere.invalid/x");
        manage.ShowAd();
        const std::vector<std::string> want{kDefault, "http://banner.test:8080/ssh/2.html",
                                            "http://banner.test:8080/ssh/2.html", kDefault};
        QCOMPARE(browser.navigations, want);
        QCOMPARE(browser.requests, std::vector<bool>(3, true));  // every document reads the field
    }

    void nextUrlAfterAPage_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("nextUrl");  // after the page, starting from kPrevious
        QTest::addColumn<QString>("error");
        const QString prev = QString::fromStdString(kPrevious);
        using S = TDocumentSteps;
        QTest::newRow("acceptable") << int(S::NextUrlValue) << "http://banner.test:8080/ssh/n.html"
                                    << "http://banner.test:8080/ssh/n.html"
                                    << "";
        QTest::newRow("https") << int(S::NextUrlValue) << "https://banner.test:8080/ssh/n.html"
                               << "https://banner.test:8080/ssh/n.html"
                               << "";
        QTest::newRow("scheme in capitals") << int(S::NextUrlValue) << "HTTP://banner.test:8080/ssh/n"
                                            << "HTTP://banner.test:8080/ssh/n"
                                            << "";
        QTest::newRow("pattern in a query")
            << int(S::NextUrlValue) << "http://x.invalid/?u=banner.test:8080/ssh"
            << "http://x.invalid/?u=banner.test:8080/ssh"
            << "";
        QTest::newRow("other host") << int(S::NextUrlValue) << "http://x.invalid/ssh/n.html"
                                    << ""
                                    << "";
        QTest::newRow("host without /ssh") << int(S::NextUrlValue) << "http://banner.test:8080/n.html"
                                           << ""
                                           << "";
        QTest::newRow("pattern in other case") << int(S::NextUrlValue) << "http://BANNER.test:8080/ssh/n"
                                               << ""
                                               << "";
        QTest::newRow("empty value") << int(S::NextUrlValue) << ""
                                     << ""
                                     << "";
        QTest::newRow("file address") << int(S::NextUrlValue) << "file:///banner.test:8080/ssh/../etc/passwd"
                                      << ""
                                      << "";
        QTest::newRow("javascript") << int(S::NextUrlValue) << "javascript:alert('banner.test:8080/ssh')"
                                    << ""
                                    << "";
        QTest::newRow("data") << int(S::NextUrlValue) << "data:text/html,banner.test:8080/ssh"
                              << ""
                              << "";
        QTest::newRow("no element") << int(S::NoNextUrl) << "" << prev << "";
        QTest::newRow("not an input field") << int(S::NotInput) << "" << prev
                                            << "The banner page's element \"nextUrl\" is not an input field";
        QTest::newRow("no body") << int(S::NoBody) << "" << prev << "The banner page has no body";
        QTest::newRow("no style") << int(S::NoStyle) << "" << prev
                                  << "The banner page's root element has no style";
        QTest::newRow("not HTML") << int(S::NoDocument) << "" << prev
                                  << "The banner page is not an HTML document";
    }
    void nextUrlAfterAPage() {
        QFETCH(int, outcome);
        QFETCH(QString, value);
        QFETCH(QString, nextUrl);
        QFETCH(QString, error);
        FakeBrowser browser;
        TWBManage manage(&browser);
        manage.NextUrl = kPrevious;
        std::string raised;
        try {
            browser.Complete(static_cast<TDocumentSteps::Outcome>(outcome), value.toStdString());
        } catch (const Exception& e) {
            raised = e.what();
        }
        QCOMPARE(QString::fromStdString(raised), error);
        QCOMPARE(QString::fromStdString(manage.NextUrl), nextUrl);
    }

    // The page's text is UTF-16 on the page and GBK in the model; the address goes back out unchanged.
    void nonAsciiAddressRoundTrips() {
        FakeBrowser browser;
        TWBManage manage(&browser);
        const std::string utf8 = "http://banner.test:8080/ssh/广告.html";
        browser.Complete(TDocumentSteps::NextUrlValue, utf8);
        QCOMPARE(manage.NextUrl, plat::Utf8ToGbk(utf8));
        manage.ShowAd();
        QCOMPARE(browser.navigations.back(), utf8);
    }

    void answerAfterTheManagerIsGoneIsDropped() {
        FakeBrowser browser;
        auto manage = std::make_unique<TWBManage>(&browser);
        browser.OnDocumentComplete();
        manage.reset();
        QVERIFY(!browser.OnDocumentComplete);
        browser.Answer(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/n.html");  // no crash
    }

    // The first two download completions after start-up do nothing; from the third on the styles are
    // set again (without reading the field), and their failures are reported.
    void downloadCountRule() {
        FakeBrowser* browser = nullptr;
        Program p([&](QWidget*) {
            auto fake = std::make_unique<FakeBrowser>();
            browser = fake.get();
            return fake;
        });
        QVERIFY(browser);
        QCOMPARE(browser->navigations, std::vector<std::string>{kDefault});
        QCOMPARE(p.form->DownloadCount, 0);
        browser->OnDownloadComplete();
        browser->OnDownloadComplete();
        QCOMPARE(p.form->DownloadCount, 2);
        QVERIFY(browser->requests.empty());
        browser->OnDownloadComplete();
        QCOMPARE(browser->requests, std::vector<bool>{false});
        browser->Answer(TDocumentSteps::Styled);
        QVERIFY(p.errors.empty());
        browser->OnDownloadComplete();
        QCOMPARE(p.form->DownloadCount, 4);
        QVERIFY_THROWS_EXCEPTION(Exception, browser->Answer(TDocumentSteps::NoBody));
    }

    void slideShowsTheBlankPageFirstThenTheNextBanner() {
        FakeBrowser* browser = nullptr;
        Program p([&](QWidget*) {
            auto fake = std::make_unique<FakeBrowser>();
            browser = fake.get();
            return fake;
        });
        browser->Complete(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/2.html");
        browser->navigations.clear();
        p.form->ShowForm();
        QCOMPARE(browser->navigations,
                 (std::vector<std::string>{"about:blank", "http://banner.test:8080/ssh/2.html"}));
    }

    // A reminder near while hidden: the next page loads out of sight and is kept, once; the pop-up
    // shows it as it is, with neither the blank page nor a second load. The pop-up after it is as ever.
    void pageMadeReadyAheadIsThePopUpsPage() {
        FakeBrowser browser;
        TWBManage manage(&browser);
        browser.Complete(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/2.html");
        manage.ReadyAhead(true, false);
        manage.ReadyAhead(true, false);
        QCOMPARE(browser.navigations, std::vector<std::string>{"http://banner.test:8080/ssh/2.html"});
        QCOMPARE(browser.keeps, std::vector<bool>{true});
        browser.Complete(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/3.html");
        browser.held = true;
        manage.Blank();
        manage.ShowAd();
        QCOMPARE(browser.navigations, std::vector<std::string>{"http://banner.test:8080/ssh/2.html"});
        QCOMPARE(browser.keeps, (std::vector<bool>{true, false}));
        QVERIFY(!manage.Ahead());
        manage.Blank();
        manage.ShowAd();
        QCOMPARE(browser.navigations,
                 (std::vector<std::string>{"http://banner.test:8080/ssh/2.html", "about:blank",
                                           "http://banner.test:8080/ssh/3.html"}));
    }

    // Let go before any pop-up (the reminder moved away), or gone by the pop-up (the helper ended): the
    // pop-up shows the page that was made ready, loaded again.
    void pageNotShownAheadIsShownAtThePopUp_data() {
        QTest::addColumn<bool>("letGo");
        QTest::newRow("let go in the tray") << true;
        QTest::newRow("no longer held") << false;
    }
    void pageNotShownAheadIsShownAtThePopUp() {
        QFETCH(bool, letGo);
        FakeBrowser browser;
        TWBManage manage(&browser);
        browser.Complete(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/2.html");
        manage.ReadyAhead(true, false);
        browser.Complete(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/3.html");
        if (letGo) {
            manage.ReadyAhead(false, false);
            QCOMPARE(browser.keeps, (std::vector<bool>{true, false}));
        }
        manage.Blank();
        manage.ShowAd();
        std::vector<std::string> want{"http://banner.test:8080/ssh/2.html"};
        if (letGo) want.push_back("about:blank");
        want.push_back("http://banner.test:8080/ssh/2.html");
        QCOMPARE(browser.navigations, want);
        QCOMPARE(browser.keeps, (std::vector<bool>{true, false}));
    }

    void shownWindowKeepsItsPage() {
        FakeBrowser browser;
        TWBManage manage(&browser);
        manage.ReadyAhead(true, true);
        QVERIFY(browser.navigations.empty());
        QVERIFY(browser.keeps.empty());
        QVERIFY(!manage.Ahead());
    }

    // The check timer makes the page ready within the lead of a daily reminder, and the reminder's
    // pop-up shows it.
    void tickReadiesThePageAheadOfTheReminder() {
        FakeBrowser* browser = nullptr;
        Program p(
            [&](QWidget*) {
                auto fake = std::make_unique<FakeBrowser>();
                browser = fake.get();
                return fake;
            },
            "[XTSZ]\r\nNotFirstStart=1\r\n[XHBX]\r\nstartDSBJ=1\r\nOnTime=10:01\r\nOnTimeTxnr=x\r\n");
        browser->Complete(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/2.html");
        const TDateTime day = SysUtils::EncodeDate(2026, 12, 9);
        p.clock.Set(day + SysUtils::EncodeTime(10, 0, 30, 0));
        p.form->TimerCheckWarnTimer();
        QCOMPARE(browser->navigations, std::vector<std::string>{kDefault});  // 30 s ahead: too early
        p.clock.Set(day + SysUtils::EncodeTime(10, 0, 45, 0));
        p.form->TimerCheckWarnTimer();
        QCOMPARE(browser->navigations,
                 (std::vector<std::string>{kDefault, "http://banner.test:8080/ssh/2.html"}));
        QCOMPARE(browser->keeps, std::vector<bool>{true});
        browser->Complete(TDocumentSteps::NextUrlValue, "http://banner.test:8080/ssh/3.html");
        browser->held = true;
        p.clock.Set(day + SysUtils::EncodeTime(10, 1, 0, 5));
        p.form->TimerCheckWarnTimer();
        QVERIFY(p.win->isVisible());
        QCOMPARE(browser->navigations,
                 (std::vector<std::string>{kDefault, "http://banner.test:8080/ssh/2.html"}));
        QCOMPARE(browser->keeps, (std::vector<bool>{true, false}));
    }

    // Within the lead the helper stays in the tray after its page is done, and so it is ready for the
    // pop-up; once the reminder is no longer near, it goes.
    void keptHelperStaysWhileHidden() {
        QTemporaryDir tmp;
        const QString log = tmp.filePath("helper.log");
        TBannerHelper* helper = nullptr;
        Program p(
            [&](QWidget* host) {
                auto h = std::make_unique<TBannerHelper>(host, StandInPython(),
                                                         QStringList{FakeHelperScript(), log, "speak"});
                helper = h.get();
                return h;
            },
            "[XTSZ]\r\nNotFirstStart=1\r\n[XHBX]\r\nstartDSBJ=1\r\nOnTime=10:01\r\nOnTimeTxnr=x\r\n");
        QTRY_VERIFY(!helper->IsRunning());
        const TDateTime day = SysUtils::EncodeDate(2026, 12, 9);
        p.clock.Set(day + SysUtils::EncodeTime(10, 0, 45, 0));  // the check timer's next tick sees it
        QTRY_VERIFY(helper->IsRunning());
        // The page and its steps are done (the next address is read): a helper that is not kept goes
        // right then.
        QTRY_COMPARE(QString::fromStdString(p.form->WBManage->NextUrl), "http://banner.test:8080/ssh/2.html");
        QVERIFY(helper->IsRunning());
        QCOMPARE(Navigations(log).last(), "http://banner.test:8080/ssh/1.html");
        p.clock.Set(day + SysUtils::EncodeTime(10, 0, 30, 0));  // the clock set back: no reminder near
        QTRY_VERIFY(!helper->IsRunning());
        QCOMPARE(QString::fromStdString(p.form->WBManage->NextUrl), "http://banner.test:8080/ssh/1.html");
    }

    // Start-up loads the default page even though the window is hidden; once that page and its steps
    // are done the helper goes. A pop-up starts it again with the blank page, then the next page.
    void helperLivesOnlyWhileNeeded() {
        QTemporaryDir tmp;
        const QString log = tmp.filePath("helper.log");
        TBannerHelper* helper = nullptr;
        Program p([&](QWidget* host) {
            auto h = std::make_unique<TBannerHelper>(host, StandInPython(),
                                                     QStringList{FakeHelperScript(), log, "speak"});
            helper = h.get();
            return h;
        });
        QVERIFY(helper);
        QTRY_COMPARE(QString::fromStdString(p.form->WBManage->NextUrl), "http://banner.test:8080/ssh/1.html");
        QTRY_VERIFY(!helper->IsRunning());
        QTRY_VERIFY(ReadLog(log).contains("END"));  // it ended by itself once its input closed
        QCOMPARE(Navigations(log), QStringList{QString::fromStdString(kDefault)});

        p.form->ShowForm();
        QVERIFY(helper->IsRunning());
        QTRY_COMPARE(QString::fromStdString(p.form->WBManage->NextUrl), "http://banner.test:8080/ssh/2.html");
        QCOMPARE(Navigations(log).mid(1), (QStringList{"about:blank", "http://banner.test:8080/ssh/1.html"}));
        QVERIFY(helper->IsRunning());  // the window is up
        p.form->img2Click();
        QTRY_VERIFY(!helper->IsRunning());
    }

    // Nothing waits for a helper that is missing, crashes, hangs or speaks another protocol; each
    // navigation after a failure tries again.
    void brokenHelpersNeverStopTheProgram_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("crash") << "crash";
        QTest::newRow("hang") << "hang";
        QTest::newRow("old protocol") << "old";
        QTest::newRow("missing") << "";
    }
    void brokenHelpersNeverStopTheProgram() {
        QFETCH(QString, mode);
        QTemporaryDir tmp;
        const QString log = tmp.filePath("helper.log");
        QWidget window;
        QWidget* host = new QWidget(&window);
        TBannerHelperTimeouts timeouts;
        // Long enough for the stand-in (a Python interpreter) to start and log on a loaded machine:
        // the test counts its starts.
        timeouts.helloMs = 8000;
        timeouts.quitGraceMs = 300;
        const QString program = mode.isEmpty() ? tmp.filePath("no-such-helper") : StandInPython();
        TBannerHelper helper(host, program, {FakeHelperScript(), log, mode}, timeouts);
        bool completed = false;
        helper.OnDocumentComplete = [&] { completed = true; };
        window.show();
        for (int attempt = 0; attempt < 2; ++attempt) {
            QElapsedTimer clock;
            clock.start();
            helper.Navigate("http://banner.test/ssh/x.html");
            helper.RunDocumentSteps(true, [](const TDocumentSteps&) { QFAIL("no document to answer for"); });
            QVERIFY(clock.elapsed() < 200);
            QTRY_VERIFY_WITH_TIMEOUT(!helper.IsRunning(), 30000);
        }
        QVERIFY(!completed);
        QCOMPARE(ReadLog(log).filter("START").size(), mode.isEmpty() ? 0 : 2);
        if (mode == "hang") {
            // Killed after the grace period, not left behind.
            for (const QString& line : ReadLog(log).filter("START"))
                QTRY_VERIFY(!ProcessAlive(line.mid(6).toLongLong()));
        }
    }

    // A page that the helper has not completed at its deadline is stopped and counted failed, once: its
    // late answer neither shows it nor reaches the manager, and the next late page adds nothing to the
    // log.
    void pageAfterTheDeadlineFailsOnce() {
        QTemporaryDir tmp;
        const QString log = tmp.filePath("helper.log");
        FakeClock clock(SysUtils::EncodeDate(2026, 12, 9) + SysUtils::EncodeTime(10, 0, 0, 0));
        std::vector<std::string> lines;
        plat::SetLogSink([&](const std::string& line) { lines.push_back(line); });
        QWidget window;
        TBannerHelper helper(new QWidget(&window), StandInPython(), {FakeHelperScript(), log, "late"});
        int documents = 0, downloads = 0;
        helper.OnDocumentComplete = [&] { ++documents; };
        helper.OnDownloadComplete = [&] { ++downloads; };
        window.show();
        const QString page = "http://banner.test:8080/ssh/1.html";
        for (int round = 1; round <= 2; ++round) {
            helper.Navigate(page.toStdString());
            QTRY_COMPARE(Navigations(log).size(), round);  // the helper has it: the count starts
            clock.AddMilliseconds(TBannerPage::kDeadlineMs - 1);
            helper.CheckDeadline();
            QCOMPARE(ReadLog(log).count("STOP"), round - 1);
            QCOMPARE(lines.size(), size_t{round == 1 ? 0u : 1u});
            clock.AddMilliseconds(1);
            helper.CheckDeadline();
            QTRY_COMPARE(ReadLog(log).count("STOP"), round);
            QTRY_COMPARE(downloads, round);  // the late answer came (its COMPLETE first)
            QVERIFY(!helper.PageShown());
            QCOMPARE(documents, 0);
            bool answered = false;
            helper.RunDocumentSteps(true, [&](const TDocumentSteps&) { answered = true; });
            QVERIFY(!answered);
        }
        plat::SetLogSink({});
        QCOMPARE(lines, std::vector<std::string>{"banner: " + page.toStdString() +
                                                 " was not complete after 20 s; the strip stays plain"});
        QCOMPARE(ReadLog(log).value(1), "PATTERN banner.test%3A8080%2Fssh");  // what banner pages are
    }

    // Steps whose document the page left meanwhile (it navigated away while they ran) are no answer: no
    // error box and no next address come of them; the steps asked after them are answered as usual.
    void stepsOfADocumentLeftBehindAreDropped() {
        QTemporaryDir tmp;
        const QString log = tmp.filePath("helper.log");
        QWidget window;
        TBannerHelper helper(new QWidget(&window), StandInPython(), {FakeHelperScript(), log, "gone"});
        int downloads = 0;
        helper.OnDownloadComplete = [&] { ++downloads; };
        window.show();
        helper.KeepWhileHidden(true);
        helper.Navigate("http://banner.test:8080/ssh/1.html");
        QTRY_COMPARE(downloads, 1);  // the page is there
        bool read = false, styled = false;
        helper.RunDocumentSteps(true, [&](const TDocumentSteps&) { read = true; });
        helper.RunDocumentSteps(
            false, [&](const TDocumentSteps& steps) { styled = steps.Result == TDocumentSteps::Styled; });
        QTRY_VERIFY(styled);  // answered in order: the first answer has come and gone by now
        QVERIFY(!read);
    }

    // The helper asks for addresses in the user's browser (after a click on the page): the program
    // opens a web address that is no banner page, only while the window is shown, and never another
    // scheme, whatever the helper says.
    void onlyWebAddressesOfOtherSitesOpenInTheBrowser_data() {
        QTest::addColumn<bool>("shown");
        QTest::newRow("window shown") << true;
        QTest::newRow("window hidden") << false;
    }
    void onlyWebAddressesOfOtherSitesOpenInTheBrowser() {
        QFETCH(bool, shown);
        QTemporaryDir tmp;
        const QString log = tmp.filePath("helper.log");
        QWidget window;
        TBannerHelper helper(new QWidget(&window), StandInPython(), {FakeHelperScript(), log, "open"});
        QStringList opened;
        helper.OpenInBrowser = [&](const QUrl& url) {
            opened << url.toString(QUrl::FullyEncoded);
            return true;
        };
        int downloads = 0;
        helper.OnDownloadComplete = [&] { ++downloads; };
        if (shown) window.show();
        helper.KeepWhileHidden(true);
        helper.Navigate("http://banner.test:8080/ssh/1.html");
        QTRY_COMPARE(downloads, 2);  // the page, then its requests
        QCOMPARE(opened, shown ? QStringList{"http://shop.test/offer.html"} : QStringList{});
    }

    // A helper that is not there says so in the log once, however often a page is asked for.
    void missingHelperIsReportedOnce_data() {
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << false << "is missing";
        QTest::newRow("not executable") << true << "cannot be run";
    }
    void missingHelperIsReportedOnce() {
        QFETCH(bool, fileThere);
        QFETCH(QString, why);
        QTemporaryDir tmp;
        const QString program = tmp.filePath("chimewick-banner");
        if (fileThere) {
            QFile file(program);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
            file.close();
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        }
        QWidget window;
        TBannerHelper helper(new QWidget(&window), program, {});
        window.show();
        const QString expected =
            QStringLiteral("Chimewick: the banner helper %1 %2; the banner strip stays empty.")
                .arg(program, why);
        QTest::ignoreMessage(QtWarningMsg, qUtf8Printable(expected));
        QTest::failOnWarning(QRegularExpression(QStringLiteral("banner helper")));
        for (int i = 0; i < 3; ++i) {
            helper.Navigate("http://banner.test/ssh/x.html");
            QVERIFY(!helper.IsRunning());
        }
    }
};

CHIMEWICK_QTEST_MAIN(BannerTest)
#include "BannerTest.moc"
