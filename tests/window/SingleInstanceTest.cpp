// One running copy per settings folder: the lock and the request a later start sends to the running copy.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "QtTestMain.h"
#include "platform/Log.h"
#include "qt/shell/uSingleInstance.h"
#include "support/linux/ForeignServer.h"

// Sets environment variables (nullopt: removes them) for the lifetime of the object.
class ScopedEnvironment {
public:
    using Values = std::vector<std::pair<const char*, std::optional<std::string>>>;
    explicit ScopedEnvironment(const Values& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name);
            saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
            Set(name, value);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) Set(name, value);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    static void Set(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    Values saved_;
};

// Holds the lock on path, as a running copy does, without listening; lets go when destroyed.
class LockHolder {
public:
    explicit LockHolder(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {}
    ~LockHolder() {
        if (fd_ >= 0) ::close(fd_);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    bool Lock() { return fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0; }

private:
    int fd_;
};

// Collects the program's log lines while it lives.
class LogLines {
public:
    LogLines() {
        plat::SetLogSink([this](const std::string& line) { lines_.push_back(QString::fromStdString(line)); });
    }
    ~LogLines() { plat::SetLogSink({}); }
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;
    bool Has(const QString& pattern) const {
        const QRegularExpression re(pattern);
        for (const QString& line : lines_)
            if (re.match(line).hasMatch()) return true;
        return false;
    }

private:
    std::vector<QString> lines_;
};

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
        LockHolder holder(probe.LockPath());
        QVERIFY(holder.Lock());
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

    // A folder that others may enter is never used for the lock and the socket: the claim is left
    // unchecked (and the log says why) instead of trusting what others may have put there.
    void sharedFolderIsNotUsed() {
        QTemporaryDir shared;
        QVERIFY(QFile::setPermissions(shared.path(), QFile::Permissions(0x7777)));
        TSingleInstance copy(Folder("f"), shared.path());
        const LogLines log;
        QCOMPARE(copy.Claim(), TClaim::Unchecked);
        QVERIFY(log.Has(
            QStringLiteral("cannot make sure that only one copy runs.*may be entered by other users")));
        QVERIFY(!copy.AskRunningCopyToShow(100));
        QVERIFY(
            QDir(shared.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).isEmpty());
    }

    // Without a runtime folder, another user has made the program's folder in the temporary folder
    // first, with a held lock and a listening socket of the right names: the program neither waits for
    // that "copy" nor talks to it. It uses a private folder of its own, and its copies meet there.
    void anotherUsersLockAndSocketInTheFallbackPlace() {
        if (geteuid() != 0) QSKIP("needs a second user: run the tests as root to switch to uid 65534");
        QTemporaryDir root;
        const QString tmp = root.filePath("tmp");
        QVERIFY(QDir().mkpath(tmp));
        QVERIFY(::chmod(QFile::encodeName(tmp).constData(), 01777) == 0);
        const QString home = root.filePath("home");
        QVERIFY(QDir().mkpath(home));
        const ScopedEnvironment env({{"XDG_RUNTIME_DIR", std::nullopt},
                                     {"XDG_CACHE_HOME", std::nullopt},
                                     {"TMPDIR", tmp.toStdString()},
                                     {"HOME", home.toStdString()}});

        const QString folder = Folder("g");
        const QString hostile = tmp + QStringLiteral("/chimewick-%1").arg(geteuid());
        QVERIFY(QDir().mkpath(hostile));
        QVERIFY(::chmod(QFile::encodeName(hostile).constData(), 0777) == 0);
        QVERIFY(::chown(QFile::encodeName(hostile).constData(), 65534, 65534) == 0);
        const QString key = TSingleInstance::KeyFor(folder);
        ForeignServer fake((hostile + "/" + key + ".socket").toStdString(), 65534);
        QVERIFY(fake.Ok());
        {
            // A lock as a running copy leaves it, naming the fake's process.
            QFile lock(hostile + "/" + key + ".lock");
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(QByteArray::number(fake.Pid()) + "\nchimewick\n" +
                       QSysInfo::machineHostName().toUtf8() + "\n");
        }
        QVERIFY(::chown(QFile::encodeName(hostile + "/" + key + ".lock").constData(), 65534, 65534) == 0);

        TSingleInstance first(folder);
        QCOMPARE(first.Claim(), TClaim::First);
        QVERIFY(!first.LockPath().startsWith(hostile));
        QVERIFY(first.LockPath().startsWith(home + "/.cache/chimewick/"));
        QSignalSpy shows(&first, &TSingleInstance::ShowRequested);
        TSingleInstance second(folder);
        QCOMPARE(second.Claim(), TClaim::AlreadyRuns);
        auto asked = AskFromElsewhere(folder, QString(), 5000);
        QTRY_COMPARE(shows.count(), 1);
        QTRY_VERIFY(asked.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(asked.get());
        QCOMPARE(fake.Accepted(), 0);
    }

    // A socket where the running copy's should be, but listened on by another user: it is not asked,
    // and its answer is not believed. The same stand-in run by this user is asked.
    void peerOfAnotherUserIsNotAsked() {
        const bool root = geteuid() == 0;
        for (const uid_t uid : {geteuid(), uid_t(65534)}) {
            if (uid != geteuid() && !root)
                QSKIP("needs a second user: run the tests as root to switch to uid 65534");
            const QString folder = Folder(QStringLiteral("h%1").arg(uid));
            TSingleInstance probe(folder, runtime_.path());
            LockHolder holder(probe.LockPath());
            QVERIFY(holder.Lock());
            QCOMPARE(probe.Claim(), TClaim::AlreadyRuns);
            ForeignServer fake(probe.SocketPath().toStdString(), uid);
            QVERIFY(fake.Ok());
            const LogLines log;
            QCOMPARE(probe.AskRunningCopyToShow(2000), uid == geteuid());
            QCOMPARE(log.Has(QStringLiteral("answered by a process of another user")), uid != geteuid());
            QTRY_COMPARE(fake.Accepted(), 1);
        }
    }
};

CHIMEWICK_QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
