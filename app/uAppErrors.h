#pragma once
// The program's one way of showing an error: an exception that leaves an event handler, or a step of
// start-up that failed, is shown in a message box and the program carries on (timers keep ticking).
// Each frontend catches around its event dispatch and calls ShowErrorMessage.
#include <functional>
#include <string>

// Shows an error message (GBK): through the sink when one is set, else in the platform's message box
// (plat::ShowMessageBox, caption "Chimewick", error icon).
void ShowErrorMessage(const std::string& gbkMessage);
// The message of the exception in flight (GBK); for use inside a catch block.
std::string CurrentExceptionMessage();
// Runs one step; an exception it raises is shown and swallowed. True when the step finished.
bool RunStep(const std::function<void()>& step);

// Replaces how error messages are shown (a frontend's own box; tests record them); an empty function
// restores the platform's message box.
void SetErrorSink(std::function<void(const std::string& gbkMessage)> sink);
