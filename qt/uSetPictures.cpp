#include "qt/uSetPictures.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace setdlg {

namespace {

// An opaque 24-bit picture filled with one colour, ready to paint on.
QImage Canvas(int width, int height, const QColor& background) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(background);
    return image;
}

// A glossy fill: a vertical gradient from light to base with a brighter upper half.
void Gloss(QPainter& p, const QRectF& r, const QColor& base, qreal radius) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, base.lighter(160));
    g.setColorAt(0.49, base.lighter(120));
    g.setColorAt(0.5, base);
    g.setColorAt(1.0, base.darker(115));
    p.setPen(QPen(base.darker(140), 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void Plus(QPainter& p, const QColor& c) {
    p.fillRect(QRect(7, 3, 2, 10), c);
    p.fillRect(QRect(3, 7, 10, 2), c);
}

void Minus(QPainter& p, const QColor& c) {
    p.fillRect(QRect(3, 7, 10, 2), c);
}

void Floppy(QPainter& p, const QColor& c) {
    p.fillRect(QRect(2, 2, 12, 12), c);
    p.fillRect(QRect(5, 2, 6, 4), Qt::white);
    p.fillRect(QRect(4, 9, 8, 5), c.lighter(170));
}

QPixmap ListPicture(void (*draw)(QPainter&, const QColor&), const QColor& c) {
    QImage image = Canvas(16, 16, Qt::white);
    QPainter p(&image);
    draw(p, c);
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace

QPixmap HighlightBarPicture() {
    QImage image = Canvas(159, 38, QColor(0xB8, 0xDA, 0x78));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Gloss(p, QRectF(0, 0, 159, 38), QColor(0x5C, 0xB0, 0x3C), 3);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap ClosePicture() {
    QImage image = Canvas(220, 220, QColor(0xF0, 0xFB, 0xFF));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Gloss(p, QRectF(10, 10, 200, 200), QColor(0xD0, 0x20, 0x20), 30);
    QPen white(Qt::white, 18, Qt::SolidLine, Qt::RoundCap);
    p.setPen(white);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(60, 65, 100, 100), 120 * 16, 300 * 16);
    p.drawLine(QPointF(110, 50), QPointF(110, 110));
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap BrowsePicture() {
    QImage image = Canvas(20, 20, QColor(0xEB, 0xF7, 0xF2));
    QPainter p(&image);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    p.drawRect(3, 2, 11, 15);
    for (int y = 5; y <= 14; y += 3) p.drawLine(5, y, 11, y);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xE0, 0xA0, 0x20), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(17, 6), QPointF(9.5, 15.5));
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
    p.drawLine(QPointF(9.5, 15.5), QPointF(8, 18));
    p.end();
    return QPixmap::fromImage(image);
}

std::vector<QPixmap> ListButtonPictures() {
    const QColor blue(0x20, 0x50, 0xC0);
    const QColor grey(0x90, 0x90, 0x90);
    return {ListPicture(Plus, blue),  ListPicture(Plus, grey),   ListPicture(Minus, blue),
            ListPicture(Minus, grey), ListPicture(Floppy, blue), ListPicture(Floppy, grey)};
}

}  // namespace setdlg
