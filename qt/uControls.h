#pragma once
// The control kit both windows are built from: flat coloured panels, images that report clicks and
// mouse events, and transparent labels. What the windows need differently (a stretched or keyed-out
// picture, a clickable caption, a face of its own) is an option of the one kind.
#include <QColor>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <functional>

#include "app/uViewTypes.h"

// A stored colour value (red in the low byte) as Qt's colour.
QColor ColorFromStored(TColor stored);

using TNotifyEvent = std::function<void(QObject* sender)>;
using TMouseEvent = std::function<void(QObject* sender, Qt::MouseButton button, int x, int y)>;
using TMouseMoveEvent = std::function<void(QObject* sender, int x, int y)>;

// A panel without bevel filled with one colour; until it is given one it shows the toolkit's face.
// Pointer moves go to OnMouseMove when set, otherwise on to the parent.
class TFlatPanel : public QFrame {
    Q_OBJECT
public:
    explicit TFlatPanel(QWidget* parent);
    TFlatPanel(QWidget* parent, const QColor& color);
    void SetColor(const QColor& color);
    void SetColor(TColor stored) { SetColor(ColorFromStored(stored)); }
    QColor Color() const;
    // The colour shown, as a stored value.
    TColor StoredColor() const;
    // Back to the toolkit's face colour.
    void SetDefaultColor();

    TMouseMoveEvent OnMouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The picture with every pixel of its bottom-left pixel's colour left out, so what lies beneath shows.
QPixmap TransparentPixmap(const QImage& image);

// An image control: paints its picture at its own size or stretched over its whole area; without a
// picture it paints nothing, so the parent shows through. A transparent image leaves out its picture's
// key colour (see TransparentPixmap). A left press and release over it is a click. Each event goes to
// its callback and its signal; mouse events nobody listens to go on to the parent. The click comes
// before the release notification, and a click that raises is shown and skips that notification.
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent);
    void SetPicture(const QPixmap& picture);
    void SetPicture(const QImage& image);
    bool HasPicture() const { return !FPicture.isNull(); }
    const QPixmap& Picture() const { return FPicture; }
    void SetStretch(bool stretch);
    bool Stretch() const { return FStretch; }
    // Applies to pictures set afterwards.
    void SetTransparent(bool transparent) { FTransparent = transparent; }
    bool Transparent() const { return FTransparent; }

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

signals:
    void Click();
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool ListensToButtons() const;
    bool ListensToMoves() const;

    QPixmap FPicture;
    bool FStretch = false;
    bool FTransparent = false;
    bool FPressed = false;
};

// A transparent caption; given one at creation it sizes itself to it. Clickable when it has a handler.
class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent, const QString& caption = QString());
    // The face, pixel height, weight and (when valid) text colour. Family names the system lacks fall
    // back to an installed font that covers the text.
    void SetFace(const QString& family, int pixelSize, bool bold, const QColor& color = QColor());

    TNotifyEvent OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool FPressed = false;
};

// A label with the face given (see TLabel::SetFace).
TLabel* MakeLabel(QWidget* parent, const QString& family, int pixelSize, bool bold,
                  const QColor& color = QColor());
// Gives a label made elsewhere the same look; returns it.
QLabel* StyleLabel(QLabel* label, const QString& family, int pixelSize, bool bold,
                   const QColor& color = QColor());
