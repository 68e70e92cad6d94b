#pragma once
// The application object with the program's one error handler: an exception that leaves any event
// handler is shown in a message box and the program carries on (timers keep ticking).
#include <QApplication>
#include <exception>
#include <functional>
#include <string>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an error message (GBK) in the program's error box.
void ShowErrorMessage(const std::string& gbkMessage);
// The message of the exception in flight (GBK); for use inside a catch block.
std::string CurrentExceptionMessage();
// Runs one step; an exception it raises is shown and swallowed. True when the step finished.
bool RunStep(const std::function<void()>& step);

// Replaces how error messages are shown (tests record them instead of opening boxes); an empty
// function restores the message box.
void SetErrorSink(std::function<void(const std::string& gbkMessage)> sink);
