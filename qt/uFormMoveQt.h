#pragma once
// Drags a borderless window by its title strip: the strip's mouse events are routed here, and the
// window follows the pointer's travel between two events.
#include <QPoint>
#include <QPointer>
#include <QWidget>

class TFormMoveQt {
public:
    // Starts a drag of form; x, y are the pointer in the form's client coordinates.
    void BeginMove(QWidget* form, int x, int y);
    // Moves the form by the pointer's travel since the last step (client coordinates). Idle: nothing.
    void MoveTo(int x, int y);
    // Ends the drag.
    void EndMove();

    bool IsMoving = false;
    QPointer<QWidget> MoveForm;  // not owned; clears itself should the window go away mid-drag
    QPoint LastPoint{0, 0};      // pointer in screen coordinates at the start or the last step
};
