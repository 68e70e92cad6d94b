#include "qt/shell/uSingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {
const QByteArray kShowRequest = QByteArrayLiteral("show\n");
}  // namespace

TSingleInstance::TSingleInstance(const QString& settingsFolder, const QString& runtimeDir, QObject* parent)
    : QObject(parent), key_(KeyFor(settingsFolder)), dir_(runtimeDir) {
    if (dir_.isEmpty()) dir_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir_.isEmpty()) dir_ = QDir::tempPath();
    connect(&server_, &QLocalServer::newConnection, this, &TSingleInstance::AcceptConnections);
}

TSingleInstance::~TSingleInstance() {
    server_.close();  // removes the socket file
}

QString TSingleInstance::KeyFor(const QString& settingsFolder) {
    // The absolute, clean path: "a/./b/" and "a/b" are the same folder. Links are resolved where the
    // folder exists, so two names of one folder share one copy.
    QString path = QFileInfo(settingsFolder).canonicalFilePath();
    if (path.isEmpty()) path = QDir::cleanPath(QFileInfo(settingsFolder).absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("chimewick-") + QString::fromLatin1(hash.left(24));
}

QString TSingleInstance::LockPath() const {
    return dir_ + QLatin1Char('/') + key_ + QStringLiteral(".lock");
}

QString TSingleInstance::SocketPath() const {
    return dir_ + QLatin1Char('/') + key_ + QStringLiteral(".socket");
}

TSingleInstance::TClaim TSingleInstance::Claim() {
    lock_ = std::make_unique<QLockFile>(LockPath());
    // A lock is stale only when its process is gone: the running copy holds it for days.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        return lock_->error() == QLockFile::LockFailedError ? TClaim::AlreadyRuns : TClaim::Unchecked;
    }
    // Holding the lock, any socket file left here belongs to a copy that is gone.
    QLocalServer::removeServer(SocketPath());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(SocketPath())) return TClaim::Unchecked;
    return TClaim::First;
}

bool TSingleInstance::AskRunningCopyToShow(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(static_cast<int>(qMax<qint64>(0, deadline.remainingTime())))) {
            socket.write(kShowRequest);
            const bool sent = socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
            // Waiting for the running copy to hang up makes sure it has read the request.
            socket.waitForDisconnected(static_cast<int>(qMax<qint64>(0, deadline.remainingTime())));
            return sent;
        }
        // The running copy takes the lock a moment before it starts listening.
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
}

void TSingleInstance::AcceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto answer = [this, socket] {
            if (!socket->canReadLine()) return;
            const bool show = socket->readLine(64) == kShowRequest;
            socket->disconnectFromServer();
            if (show) emit ShowRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, answer);
        answer();  // the request may have arrived with the connection
    }
}
