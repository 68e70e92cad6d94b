#pragma once
// The dialog's hours:minutes editor.
#include <QTimeEdit>

namespace setdlg {

// An hours:minutes editor ("HH:mm"). A click selects the hour or the minute under the pointer, so the
// digits typed next replace it, as in the time fields of other programs: Qt alone leaves the caret
// inside the full two-digit section, where it refuses every digit.
class TTimeEdit : public QTimeEdit {
    Q_OBJECT
public:
    explicit TTimeEdit(QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace setdlg
