#pragma once
// The small control kinds the settings dialog is built from. Each keeps the few properties the dialog
// relies on (colour, alignment to a parent edge, the framed look) and offers its events as plain
// callbacks, so a handler that raises passes its error straight up to the event it serves.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/uSetFrmLook.h"
#include "qt/uControls.h"

namespace setdlg {

// The dialog's colour values: the stored layout (red in the low byte) held signed, as the dialog's
// tables write them; the kit converts them to the program's TColor.
using TColor = int32_t;
// The events, image and label of the shared kit.
using ::TImage;
using ::TLabel;
using ::TMouseEvent;
using ::TMouseMoveEvent;
using ::TNotifyEvent;
inline QColor ToQColor(TColor color) {
    return ColorFromStored(static_cast<::TColor>(color));
}

// Placement of a control relative to its parent: none, or glued to an edge, or filling what is left.
enum class TAlign { None, Top, Bottom, Left, Right, Client };
// Glues the control to an edge of its parent (or lets it fill the rest); the parent re-arranges its
// glued children whenever it is resized or one of them is shown, hidden or resized.
void SetAlign(QWidget* control, TAlign align);
TAlign GetAlign(const QWidget* control);

using TKeyPressEvent = std::function<void(QObject* sender, char& key)>;

// The kit's panel, its colour read and written as a stored value.
class TPanel : public TFlatPanel {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent) : TFlatPanel(parent) {}
    TColor Color() const { return static_cast<TColor>(StoredColor()); }
    void SetColor(TColor color) { TFlatPanel::SetColor(static_cast<::TColor>(color)); }
};

// A bordered panel of the reminder-list page (flat, optionally rounded or on one side only).
class TRzPanel : public QFrame {
    Q_OBJECT
public:
    enum class Border { None, FlatRounded, FlatLeft };
    TRzPanel(QWidget* parent, Border border);
    void SetColor(TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<TColor> FColor;  // none: the toolkit's face
    Border FBorder;
};

// A one-line edit with change and typed-character events. A key handler sees each typed character
// (backspace included) and swallows it by setting it to 0. The change event runs inside the toolkit's
// own notification, so an error it raises is shown by the application's error handler right there.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent);
    TNotifyEvent OnChange;
    TKeyPressEvent OnKeyPress;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// An edit with a thin frame.
class TRzEdit : public TEdit {
    Q_OBJECT
public:
    explicit TRzEdit(QWidget* parent);
};

// A framed edit holding a whole number between Min and Max in plain decimal digits (no signs, no group
// separators), right-aligned. Anything else cannot be typed; the box may be emptied.
class TRzNumericEdit : public TRzEdit {
    Q_OBJECT
public:
    TRzNumericEdit(QWidget* parent, int32_t min, int32_t max);
    int32_t Min() const { return FMin; }
    int32_t Max() const { return FMax; }
    // The number shown, kept within Min..Max; Min for an empty box.
    int32_t Value() const;
    // Shows the number, brought within Min..Max.
    void SetValue(int64_t value);

private:
    int32_t FMin;
    int32_t FMax;
};

// A framed edit with a flat button at its right end.
class TRzButtonEdit : public TRzEdit {
    Q_OBJECT
public:
    explicit TRzButtonEdit(QWidget* parent);
    QToolButton* Button() const { return FButton; }
    TNotifyEvent OnButtonClick;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* FButton;
};

// A check box drawn with a coloured frame; under the pointer its box takes the highlight colour.
class TRzCheckBox : public QCheckBox {
    Q_OBJECT
public:
    TRzCheckBox(QWidget* parent, const QString& caption);
    TColor FrameColor = SetFrmLook::CheckFrameColor;
    TColor HighlightColor = SetFrmLook::CheckHighlightColor;
    bool HotTrack = true;
    bool CenterCaption = false;
    // Whether the pointer is over the box (drawn with the highlight colour).
    bool Hot() const { return HotTrack && underMouse(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

class TCheckBox : public QCheckBox {
    Q_OBJECT
public:
    TCheckBox(QWidget* parent, const QString& caption);
};

class TRadioButton : public QRadioButton {
    Q_OBJECT
public:
    TRadioButton(QWidget* parent, const QString& caption);
};

class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    TGroupBox(QWidget* parent, const QString& caption);
};

// One page of a page control.
class TTabSheet : public QWidget {
    Q_OBJECT
public:
    explicit TTabSheet(QWidget* parent);
};

// Pages without tabs: only code switches them.
class TPageControl : public QStackedWidget {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* parent);
    TTabSheet* AddPage(const char* name);
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
};

// Pictures of one size, drawn by index.
class TImageList : public QObject {
    Q_OBJECT
public:
    TImageList(QObject* owner, std::vector<QPixmap> pictures);
    int Count() const { return static_cast<int>(FPictures.size()); }
    QPixmap Picture(int index) const;

private:
    std::vector<QPixmap> FPictures;
};

// A square button showing one picture of an image list (another one while disabled).
class TRzBitBtn : public QToolButton {
    Q_OBJECT
public:
    TRzBitBtn(QWidget* parent, const QString& caption, const TImageList* images, int imageIndex,
              int disabledIndex);
    TColor FrameColor = 7617536;
    TColor Color = SetFrmLook::PageColor;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

// A list of items with check boxes, drawn with the framed check boxes' colours.
class TRzCheckList : public QListWidget {
    Q_OBJECT
public:
    explicit TRzCheckList(QWidget* parent);
    void AddItem(const QString& caption);
    TColor ItemFrameColor = SetFrmLook::CheckFrameColor;
    TColor HighlightColor = SetFrmLook::CheckHighlightColor;
};

}  // namespace setdlg
