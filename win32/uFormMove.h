#pragma once
// Drags a borderless window by its title strip: the strip's mouse events are routed here, and the
// window follows the pointer's travel between two events.
#include <windows.h>

class TFormMove {
public:
    // Starts a drag of form; x, y are the pointer in the form's client coordinates (device pixels).
    void BeginMove(HWND form, int x, int y);
    // Moves the form by the pointer's travel since the last step. Idle: nothing.
    void MoveTo(int x, int y);
    void EndMove();

    bool IsMoving = false;
    HWND MoveForm = nullptr;  // not owned
    POINT LastPoint{0, 0};    // pointer in screen coordinates at the start or the last step
};
