// One running copy per settings folder: the lock and the request a later start sends to the running copy.
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <thread>

#include "QtTestMain.h"
#include "qt/shell/uSingleInstance.h"

class SingleInstanceTest : public QObject {
    Q_OBJECT
    using TClaim = TSingleInstance::TClaim;

    QTemporaryDir runtime_;  // where the lock files and sockets go
    QTemporaryDir folders_;  // settings folders

    QString Folder(const QString& name) {
        QDir(folders_.path()).mkpath(name);
        return folders_.filePath(name);
    }

    // Asks from another thread, as a second process would, while this thread runs the first copy's loop.
    static std::future<bool> AskFromElsewhere(const QString& folder, const QString& runtime, int timeoutMs) {
        return std::async(std::launch::async, [folder, runtime, timeoutMs] {
            TSingleInstance later(folder, runtime);
            return later.AskRunningCopyToShow(timeoutMs);
        });
    }

private slots:
    void secondClaimOnSameFolderAsksFirstToShow() {
        TSingleInstance first(Folder("a"), runtime_.path());
        QCOMPARE(first.Claim(), TClaim::First);
        QSignalSpy shows(&first, &TSingleInstance::ShowRequested);

        // The same folder under another spelling is the same copy.
        TSingleInstance second(Folder("a") + QStringLiteral("/./"), runtime_.path());
        QCOMPARE(second.Claim(), TClaim::AlreadyRuns);
        auto asked = AskFromElsewhere(Folder("a"), runtime_.path(), 5000);
        QTRY_COMPARE(shows.count(), 1);
        QTRY_VERIFY(asked.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(asked.get());
    }

    void otherFoldersRunSideBySide() {
        TSingleInstance a(Folder("one"), runtime_.path());
        TSingleInstance b(Folder("two"), runtime_.path());
        QCOMPARE(a.Claim(), TClaim::First);
        QCOMPARE(b.Claim(), TClaim::First);
        QVERIFY(TSingleInstance::KeyFor(Folder("one")) != TSingleInstance::KeyFor(Folder("two")));
    }

    void endedCopyFreesTheFolder() {
        {
            TSingleInstance first(Folder("b"), runtime_.path());
            QCOMPARE(first.Claim(), TClaim::First);
        }
        TSingleInstance next(Folder("b"), runtime_.path());
        QCOMPARE(next.Claim(), TClaim::First);
    }

    // A socket file left behind by a copy that was killed does not stop the next one from listening.
    void leftoverSocketFileIsReplaced() {
        TSingleInstance first(Folder("c"), runtime_.path());
        QFile leftover(first.SocketPath());
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        QCOMPARE(first.Claim(), TClaim::First);
        QSignalSpy shows(&first, &TSingleInstance::ShowRequested);
        auto asked = AskFromElsewhere(Folder("c"), runtime_.path(), 5000);
        QTRY_COMPARE(shows.count(), 1);
    }

    // A lock holder that never listens: the later start gives up instead of hanging or claiming success.
    void silentHolderIsReportedAsNotAnswering() {
        TSingleInstance probe(Folder("d"), runtime_.path());
        QLockFile holder(probe.LockPath());
        QVERIFY(holder.tryLock(0));
        QCOMPARE(probe.Claim(), TClaim::AlreadyRuns);
        QVERIFY(!probe.AskRunningCopyToShow(300));
    }

    // Anything but the show request is ignored.
    void otherMessagesAreIgnored() {
        TSingleInstance first(Folder("e"), runtime_.path());
        QCOMPARE(first.Claim(), TClaim::First);
        QSignalSpy shows(&first, &TSingleInstance::ShowRequested);
        QLocalSocket socket;
        socket.connectToServer(first.SocketPath());
        QVERIFY(socket.waitForConnected(2000));
        socket.write("quit\n");
        QVERIFY(socket.waitForBytesWritten(2000));
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(shows.count(), 0);
    }
};

CHIMEWICK_QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
