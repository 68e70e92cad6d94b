#include "qt/uControls.h"

#include <QMouseEvent>
#include <QPainter>

#include "qt/shell/uApplication.h"

QColor ColorFromStored(unsigned stored) {
    return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

TPanel::TPanel(QWidget* parent, const QColor& color) : QWidget(parent) {
    setAutoFillBackground(true);
    SetColor(color);
}

void TPanel::SetColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

QColor TPanel::Color() const {
    return palette().color(QPalette::Window);
}

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

void TImage::SetPicture(const QImage& image) {
    picture_ = TransparentPixmap(image);
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
}

void TImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    const QPoint p = event->position().toPoint();
    emit MouseDown(event->button(), p.x(), p.y());
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseMove(p.x(), p.y());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && leftPressed_ && rect().contains(p);
    if (event->button() == Qt::LeftButton) leftPressed_ = false;
    emit MouseUp(event->button(), p.x(), p.y());
    // A click handler's error is shown here rather than left to unwind through Qt's mouse handling,
    // which is not written for exceptions and would leak its event state.
    if (click) RunStep([this] { emit Click(); });
}

QLabel* MakeLabel(QWidget* parent, const QString& family, int pixelSize, bool bold, const QColor& color) {
    return StyleLabel(new QLabel(parent), family, pixelSize, bold, color);
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
