#pragma once
// What the window manager is told about a top-level window beyond what Qt's own flags say.
class QWidget;

// Whether the window manager leaves the window out of taskbars and pagers (_NET_WM_STATE_SKIP_TASKBAR
// and _NET_WM_STATE_SKIP_PAGER under X11). Call it while the window is hidden, right before showing it:
// a window manager forgets a window's states when it is hidden. Does nothing on other platforms.
void SetSkipTaskbar(QWidget& window, bool skip);
