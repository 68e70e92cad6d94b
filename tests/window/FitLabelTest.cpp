// The reminder text's label (lbl_1, 422 x 51, a 16-pixel bold face designed for three lines): with the
// longest text the settings dialog takes, three whole lines are shown and nothing of a fourth.
#include <QFontMetricsF>
#include <QTest>
#include <algorithm>
#include <vector>

#include "QtTestMain.h"
#include "qt/uControls.h"
#include "qt/uFitLabel.h"
#include "settings/uToolsObj.h"

namespace {

// The longest reminder text: as many Chinese characters (two bytes each in GBK) as a settings value
// keeps, with a few Latin letters that reach below the baseline.
QString LongestText() {
    const QString sentence = QStringLiteral("主人，工作很长时间了，看一眼蓝天吧！qypgj ");
    QString text;
    while (text.size() < TTools::IniTextMaxChars) text += sentence;
    return text.left(TTools::IniTextMaxChars);
}

}  // namespace

class FitLabelTest : public QObject {
    Q_OBJECT
private slots:
    // The pitch and the lines for a box: the design's lines always fit whole, whatever the font.
    void designLinesFitWhole_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("design");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<int>("lines");
        const auto row = [](const char* name, int box, int height, int spacing, int design, int pitch,
                            int lines) {
            QTest::newRow(name) << box << height << spacing << design << pitch << lines;
        };
        row("the design face: its own spacing, three lines", 51, 16, 16, 3, 16, 3);
        row("exactly fits: 17 + 17 + 17", 51, 17, 17, 3, 17, 3);
        row("a taller fallback face: tightened, not two lines and a half", 51, 19, 19, 3, 16, 3);
        row("its leading goes first", 51, 19, 22, 3, 16, 3);
        row("and only as far as needed", 51, 16, 18, 3, 17, 3);
        row("a face twice as tall", 51, 30, 30, 3, 10, 3);
        row("a taller box, three lines", 60, 16, 16, 3, 16, 3);
        row("a taller box shows what else fits whole", 64, 16, 16, 3, 16, 4);
        row("a box shrunk below the design keeps its lines, tighter still", 40, 19, 19, 3, 10, 3);
        row("a sliver of a box during the slide: no line, and no pitch of 0", 18, 19, 19, 3, 1, 0);
        row("an empty box", 0, 19, 19, 3, 1, 0);
        row("a negative box", -5, 19, 19, 3, 1, 0);
        row("one design line: the font's own spacing, whole lines only", 51, 19, 19, 1, 19, 2);
        row("no design lines", 51, 19, 19, 0, 19, 2);
    }
    void designLinesFitWhole() {
        QFETCH(int, box);
        QFETCH(int, height);
        QFETCH(int, spacing);
        QFETCH(int, design);
        QFETCH(int, pitch);
        QFETCH(int, lines);
        const TLineFit fit = FitLines(box, height, spacing, design);
        QCOMPARE(fit.Pitch, pitch);
        QCOMPARE(fit.Lines, lines);
        if (fit.Lines > 0) QVERIFY((fit.Lines - 1) * fit.Pitch + height <= box);  // never part of a line
    }

    void faces_data() {
        QTest::addColumn<QString>("family");
        // The design's face (absent here: fontconfig falls back to a CJK face), and a face whose line
        // spacing is well above a third of the box.
        QTest::newRow("design face") << QStringLiteral("楷体_GB2312");
        QTest::newRow("fallback face") << QStringLiteral("WenQuanYi Micro Hei");
    }
    void faces() {
        QFETCH(QString, family);
        QWidget panel;
        panel.resize(442, 147);
        TFitLabel label(&panel, 3);
        StyleLabel(&label, family, 16, true);
        label.setGeometry(8, 88, 422, 51);
        label.setText(LongestText());

        const TLineFit fit = label.Fit();
        QCOMPARE(fit.Lines, 3);
        QVERIFY(2 * fit.Pitch < 51);
        const auto lines = label.ShownLines();
        QCOMPARE(static_cast<int>(lines.size()), 3);
        // Each line is full (about 26 characters fit in 422 pixels) and follows on from the last.
        QString shown;
        const QFontMetricsF metrics(label.font(), &label);
        for (const auto& line : lines) {
            QVERIFY2(line.Text.size() > 15, qPrintable(line.Text));
            // The line's ink lies inside the label (to within the glyph outlines' rounding): no glyph cut
            // at the top or the bottom.
            const QRectF ink =
                metrics.tightBoundingRect(line.Text).translated(line.Rect.left(), line.Baseline);
            QVERIFY2(
                ink.top() > -0.5 && ink.bottom() < 51.5,
                qPrintable(
                    QStringLiteral("%1: ink from %2 to %3").arg(line.Text).arg(ink.top()).arg(ink.bottom())));
            shown += line.Text;
        }
        QVERIFY(LongestText().startsWith(shown));
    }

    // A short text is drawn as it is, on the first line.
    void shortText() {
        TFitLabel label(nullptr, 3);
        StyleLabel(&label, QStringLiteral("楷体_GB2312"), 16, true);
        label.resize(422, 51);
        label.setText(QStringLiteral("该准备吃午饭了！"));
        const auto lines = label.ShownLines();
        QCOMPARE(static_cast<int>(lines.size()), 1);
        QCOMPARE(lines[0].Text, QStringLiteral("该准备吃午饭了！"));
    }
};

CHIMEWICK_QTEST_MAIN(FitLabelTest)
#include "FitLabelTest.moc"
