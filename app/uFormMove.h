#pragma once
// Drags a borderless window by its title strip: the strip's mouse events are routed here, and the
// window follows the pointer's travel between two events. Works on any window view.
#include <cstdint>

#include "app/uViewTypes.h"

class IWindowView;

class TFormMove {
public:
    // Starts a drag of form (also when one runs: the start point is taken again); x, y are the pointer
    // in the form's client coordinates.
    void BeginMove(IWindowView* form, int32_t x, int32_t y);
    // Moves the form by the pointer's travel since the last step (client coordinates): first its left,
    // then, as a separate change, its top. Idle: nothing.
    void MoveTo(int32_t x, int32_t y);
    // Ends the drag.
    void EndMove();

    bool IsMoving = false;
    IWindowView* MoveForm = nullptr;  // not owned; none when idle
    TPoint LastPoint;                 // pointer in screen coordinates at the start or the last step
};
