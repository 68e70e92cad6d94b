// Program entry: the application object with its error handler, the question boxes of the core, and
// the main window, which starts hidden in the tray.
#include <QLocale>

#include "app/uMainForm.h"
#include "platform/Dialogs.h"
#include "qt/shell/uApplication.h"
#include "qt/shell/uMessageBox.h"
#include "qt/shell/uPlatformChoice.h"
#include "qt/shell/uQtText.h"
#include "qt/shell/uSingleInstance.h"
#include "qt/shell/uTranslations.h"
#include "qt/uMainFrmQt.h"
#include "settings/uToolsObj.h"

int main(int argc, char** argv) {
    ApplyQpaPlatformChoice();  // before the application object picks its platform
    TApplication app(argc, argv);
    // The name only: a display name would be appended to every window caption ("系统提示 — Chimewick").
    TApplication::setApplicationName(QStringLiteral("Chimewick"));
    // The window hides in the tray and boxes come and go: only closing the main window ends the program.
    TApplication::setQuitOnLastWindowClosed(false);
    plat::SetMessageBoxHook(ShowMessageBoxQt);
    LoadQtTranslations(app, QLocale());

    // One copy per settings folder: a second start brings the running copy's window up and ends.
    TSingleInstance instance(QString::fromStdString(TTools::GetAppPath() + "Ini"));
    if (instance.Claim() == TSingleInstance::TClaim::AlreadyRuns) {
        if (instance.AskRunningCopyToShow()) return 0;
        qWarning("Chimewick already runs for this settings folder but does not answer.");
        return 1;
    }

    // A request that comes while the window is being built (the first start's dialogs run inside) is
    // kept and answered once the window is complete.
    bool requestedEarly = false;
    const auto early = QObject::connect(&instance, &TSingleInstance::ShowRequested,
                                        [&requestedEarly] { requestedEarly = true; });
    TMainFrm form;
    auto* window = new TMainFrmQt(form);
    form.FormCreate(*window);
    QObject::disconnect(early);
    // Queued: the request is answered from the event loop, like a click on the tray icon.
    const auto show = [&form] { form.TrayIconClick(); };
    QObject::connect(&instance, &TSingleInstance::ShowRequested, window, show, Qt::QueuedConnection);
    if (requestedEarly) QMetaObject::invokeMethod(window, show, Qt::QueuedConnection);
    const int result = TApplication::exec();
    delete window;  // runs the behaviour's destruction handler
    plat::SetMessageBoxHook({});
    return result;
}
