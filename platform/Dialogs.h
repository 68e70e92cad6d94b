#pragma once
// Message and question boxes. The core only calls these hooks; the GUI installs real boxes at start
// and tests install scripted answers.
#include <cstddef>
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
// Shows the text with BreakLongRuns applied, through the hook when one is installed.
int ShowMessageBox(const AnsiString& text, const AnsiString& caption, TBoxKind kind);

// A box wraps its text only between words: an unbroken run (a long value quoted in an error message)
// would make it wider than the screen. Such runs get a line break after every kBoxRunChars characters,
// never inside a GBK character; everything else stays as it is.
constexpr std::size_t kBoxRunChars = 100;
AnsiString BreakLongRuns(const AnsiString& text);

}  // namespace plat
