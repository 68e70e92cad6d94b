// Program entry: the application object with its error handler, the question boxes of the core, and
// the main window, which starts hidden in the tray.
#include <QLocale>

#include "app/uMainForm.h"
#include "platform/Dialogs.h"
#include "settings/uToolsObj.h"
#include "window/uApplication.h"
#include "window/uMessageBox.h"
#include "window/uPlatformChoice.h"
#include "window/uQtText.h"
#include "window/uSingleInstance.h"
#include "window/uTranslations.h"

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
    auto* form = new TMainFrm();
    QObject::disconnect(early);
    // Queued: the request is answered from the event loop, like a click on the tray icon.
    QObject::connect(&instance, &TSingleInstance::ShowRequested, form, &TMainFrm::TrayIconClick,
                     Qt::QueuedConnection);
    if (requestedEarly) QMetaObject::invokeMethod(form, &TMainFrm::TrayIconClick, Qt::QueuedConnection);
    const int result = TApplication::exec();
    delete form;
    plat::SetMessageBoxHook({});
    return result;
}
