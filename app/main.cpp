// Program entry: the application object with its error handler, the question boxes of the core, and
// the main window, which starts hidden in the tray.
#include <QMessageBox>

#include "app/uMainForm.h"
#include "platform/Dialogs.h"
#include "window/uApplication.h"
#include "window/uQtText.h"

namespace {
int ShowBox(const AnsiString& text, const AnsiString& caption, unsigned style) {
    QMessageBox box(QMessageBox::NoIcon, ToQ(caption), ToQ(text));
    if (style & plat::MB_ICONQUESTION) box.setIcon(QMessageBox::Question);
    if (style & plat::MB_OKCANCEL) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setDefaultButton(QMessageBox::Ok);
    // Closing the box any other way counts as Cancel.
    return box.exec() == QMessageBox::Ok ? plat::IDOK : plat::IDCANCEL;
}
}  // namespace

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    // The name only: a display name would be appended to every window caption ("系统提示 — Chimewick").
    TApplication::setApplicationName(QStringLiteral("Chimewick"));
    // The window hides in the tray and boxes come and go: only closing the main window ends the program.
    TApplication::setQuitOnLastWindowClosed(false);
    plat::SetMessageBoxHook(ShowBox);

    auto* form = new TMainFrm();
    const int result = TApplication::exec();
    delete form;
    plat::SetMessageBoxHook({});
    return result;
}
