#pragma once
// The few control kinds the windows are built from: a flat coloured panel, an image that draws its
// picture stretched and transparent and reports clicks and mouse events, and labels with a given font.
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

// A stored colour value has red in its low byte (0x00BBGGRR).
QColor ColorFromStored(unsigned stored);

// A panel without bevel filled with one colour.
class TPanel : public QWidget {
    Q_OBJECT
public:
    TPanel(QWidget* parent, const QColor& color);
    void SetColor(const QColor& color);
    QColor Color() const;
};

// The picture with every pixel of its bottom-left pixel's colour left out, so what lies beneath shows.
QPixmap TransparentPixmap(const QImage& image);

// An image control: paints its picture stretched over its whole area; without a picture it paints
// nothing. A left press and release over it is a click.
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent);
    void SetPicture(const QImage& image);
    bool HasPicture() const { return !picture_.isNull(); }
    const QPixmap& Picture() const { return picture_; }

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
    QPixmap picture_;
    bool leftPressed_ = false;
};

// A transparent label with the face, pixel height, weight and colour given. Family names the
// system lacks fall back to an installed font that covers the text.
QLabel* MakeLabel(QWidget* parent, const QString& family, int pixelSize, bool bold,
                  const QColor& color = QColor());
// Gives a label made elsewhere the same look; returns it.
QLabel* StyleLabel(QLabel* label, const QString& family, int pixelSize, bool bold,
                   const QColor& color = QColor());
