#include "app/uFormMove.h"

#include "app/uWindowView.h"

void TFormMove::BeginMove(IWindowView* form, int32_t x, int32_t y, TMouseButton button, TRect strip) {
    IsMoving = true;
    MoveForm = form;
    Captured = button == TMouseButton::Left;
    Strip = strip;
    LastPoint = form->ClientToScreen({x, y});
}

void TFormMove::MoveTo(int32_t x, int32_t y) {
    if (!IsMoving || !MoveForm) return;
    // Without capture the pointer's moves count only over the strip: off it they belong to whatever
    // lies beneath.
    if (!Captured && Strip.Width > 0 && Strip.Height > 0 && !Strip.Contains({x, y})) return;
    // Both points come from the window's own client origin, so only the pointer's travel moves it.
    const TPoint p = MoveForm->ClientToScreen({x, y});
    TRect place = MoveForm->WindowRect();
    place.Left += p.X - LastPoint.X;
    MoveForm->PlaceWindow(place);
    place = MoveForm->WindowRect();
    place.Top += p.Y - LastPoint.Y;
    MoveForm->PlaceWindow(place);
    LastPoint = p;
}

void TFormMove::EndMove() {
    IsMoving = false;
    MoveForm = nullptr;
}
