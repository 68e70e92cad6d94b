#include "qt/uFormMoveQt.h"

void TFormMoveQt::BeginMove(QWidget* form, int x, int y) {
    IsMoving = true;
    MoveForm = form;
    LastPoint = form->mapToGlobal(QPoint(x, y));
}

void TFormMoveQt::MoveTo(int x, int y) {
    if (!IsMoving || !MoveForm) return;
    // Both points come from the window's own client origin, so only the pointer's travel moves it.
    const QPoint p = MoveForm->mapToGlobal(QPoint(x, y));
    MoveForm->move(MoveForm->x() + p.x() - LastPoint.x(), MoveForm->y());
    MoveForm->move(MoveForm->x(), MoveForm->y() + p.y() - LastPoint.y());
    LastPoint = p;
}

void TFormMoveQt::EndMove() {
    IsMoving = false;
    MoveForm = nullptr;
}
