// chimewick-banner: the banner's browser, in a process of its own so that the program costs little
// while it waits in the tray. It reads commands from its standard input and writes events to its
// standard output (window/uBannerProtocol.h), and ends when its input closes.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QQuickWindow>
#include <QSocketNotifier>
#include <cstdio>

#include "qt/banner/uBannerView.h"

namespace {

// Engine switches that make the banner's browser cheaper without loosening its safety: its sandbox and
// site isolation stay as the engine sets them up. One small page needs one renderer and no spare one
// kept warm for the next site. No zygote for unsandboxed processes: the engine then starts those (a GPU
// or utility process, if any) directly, and the one that would sit idle beside the renderers' own
// sandboxed zygote costs some 16 MB. V8's lite mode trades the optimising compiler, of no use to a
// banner, for a smaller heap. Without a GPU (no render node) the engine and Qt Quick would only draw
// through a software OpenGL, whose driver and compiler alone hold some 50 MB: both draw in software
// instead, and no OpenGL is loaded at all. Switches set from outside come last, so they win.
void UseLeanEngine() {
    QByteArray flags =
        "--renderer-process-limit=1 --no-unsandboxed-zygote "
        "--disable-features=SpareRendererForSitePerProcess "
        "--js-flags=--lite-mode";
    const bool gpu =
        !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
    if (!gpu) {
        flags += " --disable-gpu --disable-gpu-compositing";
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
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

    // --freeze-after-ms=N: how long a page runs before it is frozen (tests shorten it).
    int freezeAfterMs = TBannerView::kFreezeAfterMs;
    for (const QString& argument : QApplication::arguments())
        if (argument.startsWith(QStringLiteral("--freeze-after-ms=")))
            freezeAfterMs = argument.section('=', 1).toInt();
    TBannerView banner(
        [](const QByteArray& line) {
            std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
            std::fflush(stdout);
        },
        freezeAfterMs);

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
