#include "qt/uTimeEdit.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace setdlg {

TTimeEdit::TTimeEdit(QWidget* parent) : QTimeEdit(parent) {
    setDisplayFormat(QStringLiteral("HH:mm"));
    lineEdit()->installEventFilter(this);
}

bool TTimeEdit::eventFilter(QObject* watched, QEvent* event) {
    // The press has placed the caret, and with it the current section; a selection the user dragged
    // over stays as it is.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && !lineEdit()->hasSelectedText())
        setSelectedSection(currentSection());
    return QTimeEdit::eventFilter(watched, event);
}

}  // namespace setdlg
