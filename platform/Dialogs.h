#pragma once
// Message and question boxes. The core only calls these hooks; the GUI installs real boxes at start
// and tests install scripted answers.
#include <cstddef>
#include <functional>

#include "platform/Types.h"

namespace plat {

constexpr unsigned MB_OK = 0;
constexpr unsigned MB_OKCANCEL = 1;
constexpr unsigned MB_ICONERROR = 16;
constexpr unsigned MB_ICONQUESTION = 32;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Shows a modal box with GBK text and caption in the given style; returns the button pressed.
using MessageBoxHook = std::function<int(const AnsiString& text, const AnsiString& caption, unsigned style)>;

// Installs the hook; an empty hook restores the platform's default: the system's own message box on
// Windows, elsewhere an answer of IDCANCEL without showing anything.
void SetMessageBoxHook(MessageBoxHook hook);
// Shows the text with BreakLongRuns applied, through the hook when one is installed.
int ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned style);

// A box wraps its text only between words: an unbroken run (a long value quoted in an error message)
// would make it wider than the screen. Such runs get a line break after every kBoxRunChars characters,
// never inside a GBK character; everything else stays as it is.
constexpr std::size_t kBoxRunChars = 100;
AnsiString BreakLongRuns(const AnsiString& text);

}  // namespace plat
