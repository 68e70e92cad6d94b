// chimewick-banner: the banner's browser, in a process of its own so that the program costs little
// while it waits in the tray. It reads commands from its standard input and writes events to its
// standard output (window/uBannerProtocol.h), and ends when its input closes.
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>

#include "qt/banner/uBannerView.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    TBannerView banner([](const QByteArray& line) {
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
        std::fflush(stdout);
    });

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {  // the program let go of us (or is gone)
            input.setEnabled(false);
            QApplication::quit();
            return;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            banner.Command(line);
        }
        if (pending.size() > 1024 * 1024) pending.clear();  // no line is that long
    });
    return app.exec();
}
