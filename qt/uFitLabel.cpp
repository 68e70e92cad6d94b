#include "qt/uFitLabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <cmath>

TFitLabel::TFitLabel(QWidget* parent, int designLines) : QLabel(parent), designLines_(designLines) {
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

TLineFit TFitLabel::LayOut(QTextLayout& layout) const {
    const QRect box = contentsRect();
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(box.width());
    layout.endLayout();
    // The lines' height is the tallest of the faces they draw with (a fallback face for the Chinese
    // characters may be taller than the label's own).
    const QFontMetricsF metrics(font(), this);
    qreal height = metrics.height();
    for (int i = 0; i < std::min(layout.lineCount(), std::max(designLines_, 1)); ++i)
        height = std::max(height, layout.lineAt(i).height());
    const TLineFit fit = FitLines(box.height(), static_cast<int32_t>(std::ceil(height)),
                                  static_cast<int32_t>(std::ceil(metrics.lineSpacing())), designLines_);
    for (int i = 0; i < layout.lineCount(); ++i)
        layout.lineAt(i).setPosition(QPointF(box.left(), box.top() + i * fit.Pitch));
    return fit;
}

TLineFit TFitLabel::Fit() const {
    QTextLayout layout(text(), font(), this);
    return LayOut(layout);
}

std::vector<TFitLabel::TShownLine> TFitLabel::ShownLines() const {
    QTextLayout layout(text(), font(), this);
    const TLineFit fit = LayOut(layout);
    std::vector<TShownLine> lines;
    for (int i = 0; i < std::min(layout.lineCount(), fit.Lines); ++i) {
        const QTextLine line = layout.lineAt(i);
        lines.push_back(
            {text().mid(line.textStart(), line.textLength()), line.rect(), line.y() + line.ascent()});
    }
    return lines;
}

void TFitLabel::paintEvent(QPaintEvent*) {
    QTextLayout layout(text(), font(), this);
    const TLineFit fit = LayOut(layout);
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    for (int i = 0; i < std::min(layout.lineCount(), fit.Lines); ++i)
        layout.lineAt(i).draw(&painter, QPointF(0, 0));
}
