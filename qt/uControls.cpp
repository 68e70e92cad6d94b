#include "qt/uControls.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include "qt/shell/uApplication.h"

QColor ColorFromStored(TColor stored) {
    return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

// ---- panel ---------------------------------------------------------------------------------------

TFlatPanel::TFlatPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
}

TFlatPanel::TFlatPanel(QWidget* parent, const QColor& color) : TFlatPanel(parent) {
    SetColor(color);
}

void TFlatPanel::SetColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

QColor TFlatPanel::Color() const {
    return palette().color(QPalette::Window);
}

TColor TFlatPanel::StoredColor() const {
    const QColor c = Color();
    return static_cast<TColor>(c.red()) | static_cast<TColor>(c.green()) << 8 |
           static_cast<TColor>(c.blue()) << 16;
}

void TFlatPanel::SetDefaultColor() {
    setPalette(QPalette());
}

void TFlatPanel::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) {
        const QPoint p = event->position().toPoint();
        OnMouseMove(this, p.x(), p.y());
    } else {
        QFrame::mouseMoveEvent(event);
    }
}

// ---- image ---------------------------------------------------------------------------------------

QPixmap TransparentPixmap(const QImage& image) {
    if (image.isNull()) return QPixmap();
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = argb.pixel(0, argb.height() - 1);
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
    return QPixmap::fromImage(argb);
}

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(const QPixmap& picture) {
    FPicture = FTransparent ? TransparentPixmap(picture.toImage()) : picture;
    update();
}

void TImage::SetPicture(const QImage& image) {
    FPicture = FTransparent ? TransparentPixmap(image) : QPixmap::fromImage(image);
    update();
}

void TImage::SetStretch(bool stretch) {
    FStretch = stretch;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (FPicture.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (FStretch)
        p.drawPixmap(rect(), FPicture);
    else
        p.drawPixmap(0, 0, FPicture);
}

bool TImage::ListensToButtons() const {
    return OnMouseDown || OnClick || OnMouseUp ||
           isSignalConnected(QMetaMethod::fromSignal(&TImage::Click)) ||
           isSignalConnected(QMetaMethod::fromSignal(&TImage::MouseDown)) ||
           isSignalConnected(QMetaMethod::fromSignal(&TImage::MouseUp));
}

bool TImage::ListensToMoves() const {
    return OnMouseMove || isSignalConnected(QMetaMethod::fromSignal(&TImage::MouseMove));
}

void TImage::mousePressEvent(QMouseEvent* event) {
    if (!ListensToButtons()) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::LeftButton) FPressed = true;
    const QPoint p = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(this, event->button(), p.x(), p.y());
    emit MouseDown(event->button(), p.x(), p.y());
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    if (!ListensToMoves()) {
        event->ignore();
        return;
    }
    const QPoint p = event->position().toPoint();
    if (OnMouseMove) OnMouseMove(this, p.x(), p.y());
    emit MouseMove(p.x(), p.y());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (!ListensToButtons()) {
        event->ignore();
        return;
    }
    const QPoint p = event->position().toPoint();
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(p);
    if (event->button() == Qt::LeftButton) FPressed = false;
    // A click handler's error is shown here rather than left to unwind through Qt's mouse handling,
    // which is not written for exceptions and would leak its event state.
    if (click && !RunStep([this] {
            if (OnClick) OnClick(this);
            emit Click();
        }))
        return;
    if (OnMouseUp) OnMouseUp(this, event->button(), p.x(), p.y());
    emit MouseUp(event->button(), p.x(), p.y());
}

// ---- label ---------------------------------------------------------------------------------------

TLabel::TLabel(QWidget* parent, const QString& caption) : QLabel(caption, parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setContentsMargins(0, 0, 0, 0);
    setMargin(0);
    if (!caption.isEmpty()) adjustSize();
}

void TLabel::SetFace(const QString& family, int pixelSize, bool bold, const QColor& color) {
    StyleLabel(this, family, pixelSize, bold, color);
}

QLabel* StyleLabel(QLabel* label, const QString& family, int pixelSize, bool bold, const QColor& color) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    if (color.isValid()) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, color);
        label->setPalette(pal);
    }
    label->setAutoFillBackground(false);
    label->setContentsMargins(0, 0, 0, 0);
    label->setMargin(0);
    return label;
}

void TLabel::mousePressEvent(QMouseEvent* event) {
    if (!OnClick) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::LeftButton) FPressed = true;
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (!OnClick) {
        event->ignore();
        return;
    }
    const bool click =
        FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) FPressed = false;
    if (click) RunStep([this] { OnClick(this); });  // the error stays out of Qt's event delivery
}

TLabel* MakeLabel(QWidget* parent, const QString& family, int pixelSize, bool bold, const QColor& color) {
    auto* label = new TLabel(parent);
    label->SetFace(family, pixelSize, bold, color);
    return label;
}
