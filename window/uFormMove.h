#pragma once
// Drags a borderless window by its title strip: the strip's mouse events are routed here, and the
// window follows the pointer's travel between two events.
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

class TFormMove {
public:
    // Starts a drag of form with a button pressed on the strip; x, y are the pointer in the form's client
    // coordinates, strip the strip's place there (empty: the whole form). The left button captures the
    // pointer: the form follows it wherever it goes while the button is held. With any other button it
    // follows only while the pointer is over the strip.
    void BeginMove(QWidget* form, int x, int y, Qt::MouseButton button = Qt::LeftButton, QRect strip = {});
    // Moves the form by the pointer's travel since the last step (client coordinates). Idle, or a drag
    // without capture with the pointer off the strip: nothing.
    void MoveTo(int x, int y);
    // Ends the drag.
    void EndMove();

    bool IsMoving = false;
    QPointer<QWidget> MoveForm;  // not owned; clears itself should the window go away mid-drag
    QPoint LastPoint{0, 0};      // pointer in screen coordinates at the start or the last step
    bool Captured = false;       // the drag follows the pointer off the strip (left button)
    QRect Strip;                 // the strip, in the form's client coordinates
};
