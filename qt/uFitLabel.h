#pragma once
// The reminder text's label: fixed size, word-wrapped, transparent.
#include <QLabel>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <vector>

#include "qt/uLineFit.h"

// A word-wrapping label designed for a number of lines of its font. Where the font's own spacing would
// not fit them (a taller fallback face), the pitch from line to line is tightened (FitLines), and only
// lines that fit whole are drawn: no line is ever shown cut.
class TFitLabel : public QLabel {
    Q_OBJECT
public:
    TFitLabel(QWidget* parent, int designLines);

    struct TShownLine {
        QString Text;      // the part of the text on this line
        QRectF Rect;       // the line's box in the label
        qreal Baseline{};  // its baseline in the label
    };
    // The lines drawn for the current text.
    std::vector<TShownLine> ShownLines() const;
    // How the current text's lines fit the label's current size.
    TLineFit Fit() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Lays the text out into layout and places the lines that fit whole; returns how they fit.
    TLineFit LayOut(QTextLayout& layout) const;

    int designLines_;
};
