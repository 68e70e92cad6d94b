#pragma once
// Entry point for a widget test: the program's own application object (with its error handler), then
// the test object's cases.
#include <QTest>

#include "qt/shell/uApplication.h"

#define CHIMEWICK_QTEST_MAIN(TestClass)                 \
    int main(int argc, char** argv) {                   \
        TApplication app(argc, argv);                   \
        TApplication::setQuitOnLastWindowClosed(false); \
        TestClass test;                                 \
        return QTest::qExec(&test, argc, argv);         \
    }
