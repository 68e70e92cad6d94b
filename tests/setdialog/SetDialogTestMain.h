#pragma once
// Entry point of a settings-dialog test: the program's application object with its error handler,
// whose messages are recorded instead of shown.
#include <QTest>
#include <string>
#include <vector>

#include "qt/shell/uApplication.h"

// Messages that reached the application's error handler, in order (GBK).
inline std::vector<std::string>& ShownErrors() {
    static std::vector<std::string> errors;
    return errors;
}

#define CHIMEWICK_SETDIALOG_TEST_MAIN(TestClass)                                            \
    int main(int argc, char** argv) {                                                       \
        TApplication app(argc, argv);                                                       \
        TApplication::setApplicationDisplayName(QStringLiteral("Chimewick"));               \
        TApplication::setQuitOnLastWindowClosed(false);                                     \
        SetErrorSink([](const std::string& message) { ShownErrors().push_back(message); }); \
        TestClass test;                                                                     \
        return QTest::qExec(&test, argc, argv);                                             \
    }
