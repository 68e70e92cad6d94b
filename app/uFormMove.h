#pragma once
// Drags a borderless window by its title strip: the strip's mouse events are routed here, and the
// window follows the pointer's travel between two events. Works on any window view.
#include <cstdint>

#include "app/uViewTypes.h"

class IWindowView;

class TFormMove {
public:
    // Starts a drag of form (also when one runs: the start point is taken again) with button pressed on
    // the strip; x, y are the pointer in the form's client coordinates, strip the strip's place there
    // (empty: anywhere). The left button captures the pointer: the form follows it wherever it goes while
    // the button is held. With any other button it follows only while the pointer is over the strip.
    void BeginMove(IWindowView* form, int32_t x, int32_t y, TMouseButton button = TMouseButton::Left,
                   TRect strip = {});
    // Moves the form by the pointer's travel since the last step (client coordinates): first its left,
    // then, as a separate change, its top. Idle, or a drag without capture with the pointer off the
    // strip: nothing.
    void MoveTo(int32_t x, int32_t y);
    // Ends the drag.
    void EndMove();

    bool IsMoving = false;
    IWindowView* MoveForm = nullptr;  // not owned; none when idle
    TPoint LastPoint;                 // pointer in screen coordinates at the start or the last step
    bool Captured = false;            // the drag follows the pointer off the strip (left button)
    TRect Strip;                      // the strip in client coordinates; empty: no limit
};
