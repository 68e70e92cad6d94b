#include "app/uAppErrors.h"

#include <exception>

#include "platform/Dialogs.h"

namespace {
std::function<void(const std::string&)> g_errorSink;
}

void SetErrorSink(std::function<void(const std::string&)> sink) {
    g_errorSink = std::move(sink);
}

void ShowErrorMessage(const std::string& gbkMessage) {
    if (g_errorSink) {
        g_errorSink(gbkMessage);
        return;
    }
    plat::ShowMessageBox(gbkMessage, "Chimewick", plat::TBoxKind::Error);
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
