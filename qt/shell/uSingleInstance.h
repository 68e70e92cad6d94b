#pragma once
// One running copy of the program per settings folder, for the Qt program: the platform's lock and
// socket (platform/SingleInstance.h), with the socket watched from the event loop so that a later
// start's request arrives as a signal.
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>

#include "platform/SingleInstance.h"

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // settingsFolder: the folder the settings file lives in; runtimeDir: where the lock and the socket
    // go (empty: the user's runtime folder, else a private folder of the program's own). Without a
    // folder only this user may enter, Claim says Unchecked (and why, in the log).
    explicit TSingleInstance(const QString& settingsFolder, const QString& runtimeDir = QString(),
                             QObject* parent = nullptr);
    ~TSingleInstance() override;

    using TClaim = plat::SingleInstance::Claim;
    TClaim Claim();

    // Asks the copy that holds the lock to bring its window up. Waits up to timeoutMs for it to listen
    // (it may still be starting). True once the request has been handed over.
    bool AskRunningCopyToShow(int timeoutMs = 5000);

    // The name shared by the lock file and the socket: derived from the folder's absolute path.
    static QString KeyFor(const QString& settingsFolder);
    QString LockPath() const;
    QString SocketPath() const;

signals:
    // A later start asked for the window.
    void ShowRequested();

private:
    plat::SingleInstance instance_;
    std::unique_ptr<QSocketNotifier> requests_;
};
