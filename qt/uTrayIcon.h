#pragma once
// The program's icon in the notification area. A left click is reported after the click's own event
// handling has finished, so the handler may remove the icon.
#include <QObject>
#include <QSystemTrayIcon>

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TTrayIcon(QObject* parent = nullptr);

    // Whether a notification area is there to hold the icon right now.
    static bool IsAvailable();
    // Puts the icon into the notification area (once, however often it is called).
    void Add();
    // Takes the icon out.
    void Remove();
    bool IsShown() const { return icon_.isVisible(); }

signals:
    void LeftClick();

private:
    QSystemTrayIcon icon_;
};
