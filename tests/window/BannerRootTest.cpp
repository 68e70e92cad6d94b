// As root, the banner's browser engine does not start while its sandbox is on: the program then says so
// once in its log, with what to set, and starts no helper that would only end at once.
#include <unistd.h>

#include <QTest>
#include <string>
#include <vector>

#include "QtTestMain.h"
#include "platform/Log.h"
#include "qt/uBannerBrowserQt.h"

class BannerRootTest : public QObject {
    Q_OBJECT
private slots:
    void saidOnceWithWhatToSet() {
        if (::geteuid() != 0) QSKIP("only root meets the engine's refusal");
        std::vector<std::string> lines;
        plat::SetLogSink([&lines](const std::string& line) { lines.push_back(line); });
        qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");

        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        QVERIFY(!BannerEngineRefusesToStart());
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        QVERIFY(!BannerEngineRefusesToStart());
        QVERIFY(lines.empty());

        qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        for (int i = 0; i < 3; ++i) QVERIFY(BannerEngineRefusesToStart());
        plat::SetLogSink({});
        QCOMPARE(lines.size(), size_t{1});
        QVERIFY2(lines[0].find("root") != std::string::npos, lines[0].c_str());
        QVERIFY2(lines[0].find("QTWEBENGINE_DISABLE_SANDBOX=1") != std::string::npos, lines[0].c_str());
    }
};

CHIMEWICK_QTEST_MAIN(BannerRootTest)
#include "BannerRootTest.moc"
