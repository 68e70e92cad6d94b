#include "qt/shell/uSingleInstance.h"

#include <QFile>

TSingleInstance::TSingleInstance(const QString& settingsFolder, const QString& runtimeDir, QObject* parent)
    : QObject(parent),
      instance_(QFile::encodeName(settingsFolder).toStdString(),
                QFile::encodeName(runtimeDir).toStdString()) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::KeyFor(const QString& settingsFolder) {
    return QString::fromStdString(
        plat::SingleInstance::KeyFor(QFile::encodeName(settingsFolder).toStdString()));
}

QString TSingleInstance::LockPath() const {
    return QFile::decodeName(instance_.LockPath().c_str());
}

QString TSingleInstance::SocketPath() const {
    return QFile::decodeName(instance_.SocketPath().c_str());
}

TSingleInstance::TClaim TSingleInstance::Claim() {
    const TClaim claim = instance_.TryClaim();
    const int fd = instance_.RequestDescriptor();
    if (claim == TClaim::First && fd >= 0) {
        requests_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(requests_.get(), &QSocketNotifier::activated, this, [this] {
            if (instance_.TakeShowRequests()) emit ShowRequested();
        });
    }
    return claim;
}

bool TSingleInstance::AskRunningCopyToShow(int timeoutMs) {
    return instance_.AskRunningCopyToShow(static_cast<unsigned>(qMax(0, timeoutMs)));
}
