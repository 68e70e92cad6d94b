#pragma once
// One running copy of the program per settings folder.
//
// The first copy takes a lock file named after the settings folder and listens on a local socket of
// the same name. A later start with the same settings folder finds the lock taken, asks the running copy
// over the socket to bring its window up, and ends. The lock dies with its process, so a copy that was
// killed does not keep the next one from starting.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // settingsFolder: the folder the settings file lives in; runtimeDir: where the lock and the socket
    // go (empty: the user's runtime folder, else the temporary folder).
    explicit TSingleInstance(const QString& settingsFolder, const QString& runtimeDir = QString(),
                             QObject* parent = nullptr);
    ~TSingleInstance() override;

    enum class TClaim {
        First,        // no other copy runs for this folder; this one now answers later starts
        AlreadyRuns,  // another copy holds the lock
        Unchecked,    // the lock could not be taken for another reason (unwritable folder, ...)
    };
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
    void AcceptConnections();

    QString key_;
    QString dir_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};
