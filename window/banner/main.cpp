// chimewick-banner: the banner's browser, in a process of its own so that the program costs little
// while it waits in the tray. It reads commands from its standard input and writes events to its
// standard output (window/uBannerProtocol.h), and ends when its input closes.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QSocketNotifier>
#include <cstdio>

#include "window/banner/uBannerView.h"

namespace {

// Engine switches that make the banner's browser cheaper without loosening its safety: its sandbox and
// site isolation stay as the engine sets them up. One small page needs one renderer and no spare one
// kept warm for the next site. Without a GPU (no render node) the engine's GPU path only runs a
// software GL underneath: drawing in software instead, in Chromium and in Qt Quick, keeps the software
// GL's large code and buffers out of the helper. V8's lite mode trades the optimising compiler, of no
// use to a banner, for a smaller heap. Switches set from outside come last, so they win.
void UseLeanEngine() {
    QByteArray flags =
        "--renderer-process-limit=1 --disable-features=SpareRendererForSitePerProcess --js-flags=--lite-mode";
    const bool gpu =
        !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
    if (!gpu) {
        flags += " --disable-gpu --disable-gpu-compositing";
        if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    }
    const QByteArray outside = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!outside.isEmpty()) flags += " " + outside;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

}  // namespace

int main(int argc, char** argv) {
    UseLeanEngine();
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
