#include "win32/uFormMove.h"

void TFormMove::BeginMove(HWND form, int x, int y) {
    IsMoving = true;
    MoveForm = form;
    LastPoint = POINT{x, y};
    ::ClientToScreen(form, &LastPoint);
}

void TFormMove::MoveTo(int x, int y) {
    if (!IsMoving || !::IsWindow(MoveForm)) return;
    // Both points come from the window's own client origin, so only the pointer's travel moves it.
    POINT p{x, y};
    ::ClientToScreen(MoveForm, &p);
    RECT r;
    ::GetWindowRect(MoveForm, &r);
    ::SetWindowPos(MoveForm, nullptr, r.left + p.x - LastPoint.x, r.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(MoveForm, &r);
    ::SetWindowPos(MoveForm, nullptr, r.left, r.top + p.y - LastPoint.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LastPoint = p;
}

void TFormMove::EndMove() {
    IsMoving = false;
    MoveForm = nullptr;
}
