#pragma once
// Message and question boxes. The core only calls these hooks; the GUI installs real boxes at start
// and tests install scripted answers.
#include <functional>

#include "platform/Types.h"

namespace plat {

// What a box is for; each platform draws it its own way (icon and buttons).
enum class TBoxKind {
    Notice,    // a message with 确定 alone and no icon
    Error,     // a message with 确定 alone and the error icon
    Question,  // an OK/Cancel question with the question icon
};

// The button pressed: 1 for OK, 2 for Cancel (or a box closed any other way).
constexpr int BoxOk = 1;
constexpr int BoxCancel = 2;

// Shows a modal box of the given kind with GBK text and caption; returns the button pressed.
using MessageBoxHook = std::function<int(const AnsiString& text, const AnsiString& caption, TBoxKind kind)>;

// Installs the hook; an empty hook restores the platform's default: the system's own message box on
// Windows, elsewhere an answer of BoxCancel without showing anything.
void SetMessageBoxHook(MessageBoxHook hook);
int ShowMessageBox(const AnsiString& text, const AnsiString& caption, TBoxKind kind);

}  // namespace plat
