#pragma once
// What every window of the program can be told or asked, whichever toolkit draws it. Both windows are
// borderless, so the window's rectangle is its client area.
#include "app/uViewTypes.h"

class IWindowView {
public:
    virtual ~IWindowView() = default;

    // The full primary display (not the work area), in screen pixels.
    virtual TRect ScreenRect() const = 0;
    // Where the window is on the screen and its size.
    virtual TRect WindowRect() const = 0;
    // Moves and sizes the window in one step; showing or hiding it is not part of this.
    virtual void PlaceWindow(const TRect& rect) = 0;
    // A point given in the window's client coordinates, in screen coordinates.
    virtual TPoint ClientToScreen(TPoint client) const = 0;
};
