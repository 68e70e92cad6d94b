#include "qt/shell/uApplication.h"

#include <QMessageBox>

#include "platform/Errors.h"
#include "qt/shell/uE2EDump.h"
#include "qt/shell/uQtText.h"

void ShowErrorBox(const std::string& gbkMessage) {
    E2EDump::Set("error", ToQ(gbkMessage));
    QMessageBox::critical(nullptr, QStringLiteral("Chimewick"), ToQ(gbkMessage));
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    SetErrorSink(ShowErrorBox);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception&) {
        // Our exceptions (Exception and its kinds) derive from std::exception; their messages are GBK.
        ShowErrorMessage(CurrentExceptionMessage());
        return true;
    }
}
