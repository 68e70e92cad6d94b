#include "app/uFormMove.h"

#include "app/uWindowView.h"

void TFormMove::BeginMove(IWindowView* form, int32_t x, int32_t y) {
    IsMoving = true;
    MoveForm = form;
    LastPoint = form->ClientToScreen({x, y});
}

void TFormMove::MoveTo(int32_t x, int32_t y) {
    if (!IsMoving || !MoveForm) return;
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
