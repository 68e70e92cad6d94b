#include "window/uFormMove.h"

void TFormMove::BeginMove(QWidget* form, int x, int y, Qt::MouseButton button, QRect strip) {
    IsMoving = true;
    MoveForm = form;
    Captured = button == Qt::LeftButton;
    Strip = strip.isEmpty() ? form->rect() : strip;
    LastPoint = form->mapToGlobal(QPoint(x, y));
}

void TFormMove::MoveTo(int x, int y) {
    if (!IsMoving || !MoveForm) return;
    // Without capture the pointer's moves count only over the strip: off it they would belong to whatever
    // lies beneath.
    if (!Captured && !Strip.contains(x, y)) return;
    // Both points come from the window's own client origin, so only the pointer's travel moves it.
    const QPoint p = MoveForm->mapToGlobal(QPoint(x, y));
    MoveForm->move(MoveForm->x() + p.x() - LastPoint.x(), MoveForm->y());
    MoveForm->move(MoveForm->x(), MoveForm->y() + p.y() - LastPoint.y());
    LastPoint = p;
}

void TFormMove::EndMove() {
    IsMoving = false;
    MoveForm = nullptr;
}
