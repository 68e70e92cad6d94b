#include "qt/uTrayIcon.h"

#include "qt/shell/uResources.h"

TTrayIcon::TTrayIcon(QObject* parent) : QObject(parent) {
    icon_.setIcon(ProgramIcon());
    icon_.setToolTip(QStringLiteral("Chimewick"));
    // Queued: the icon's own press handler must have returned before the icon can be taken away.
    connect(
        &icon_, &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger) emit LeftClick();
        },
        Qt::QueuedConnection);
}

bool TTrayIcon::IsAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::Add() {
    icon_.show();
}

void TTrayIcon::Remove() {
    icon_.hide();
}
