#pragma once
// The application object with the program's one error handler: an exception that leaves any event
// handler is shown in a message box and the program carries on (timers keep ticking).
#include <QApplication>
#include <exception>
#include <functional>
#include <string>

#include "app/uAppErrors.h"

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The program's error box (a critical message box; also noted for end-to-end runs); TApplication
// installs it as the error sink.
void ShowErrorBox(const std::string& gbkMessage);
