#include "window/uApplication.h"

#include <QMessageBox>

#include "platform/Errors.h"
#include "window/uE2EDump.h"
#include "window/uQtText.h"

namespace {
std::function<void(const std::string&)> g_errorSink;
}

void SetErrorSink(std::function<void(const std::string&)> sink) {
    g_errorSink = std::move(sink);
}

void ShowErrorMessage(const std::string& gbkMessage) {
    E2EDump::Set("error", ToQ(gbkMessage));
    if (g_errorSink) {
        g_errorSink(gbkMessage);
        return;
    }
    QMessageBox::critical(nullptr, QStringLiteral("Chimewick"), ToQ(gbkMessage));
}

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

bool RunStep(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception&) {
        ShowErrorMessage(CurrentExceptionMessage());
        return false;
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception&) {
        // Our exceptions (Exception and its kinds) derive from std::exception; their messages are GBK.
        ShowErrorMessage(CurrentExceptionMessage());
        return true;
    }
}
