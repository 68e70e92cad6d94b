// The control kit: stored colours and transparent pictures.
#include <QBitmap>
#include <QPainter>
#include <QTest>

#include "QtTestMain.h"
#include "qt/uControls.h"

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void storedColours_data() {
        QTest::addColumn<unsigned>("stored");
        QTest::addColumn<QColor>("rgb");
        QTest::newRow("title strip") << 16776176u << QColor(240, 251, 255);
        QTest::newRow("content") << 15915206u << QColor(198, 216, 242);
        QTest::newRow("window") << 62650u << QColor(186, 244, 0);
        QTest::newRow("clock blue") << 16711680u << QColor(0, 0, 255);
    }
    void storedColours() {
        QFETCH(unsigned, stored);
        QFETCH(QColor, rgb);
        QCOMPARE(ColorFromStored(stored), rgb);
    }

    // Every pixel with the bottom-left pixel's colour is left out, wherever it stands; others stay.
    void transparentByBottomLeftPixel() {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(QColor(10, 20, 30));
        const QColor key(255, 0, 255);
        image.setPixelColor(0, 2, key);  // bottom left
        image.setPixelColor(3, 0, key);
        image.setPixelColor(1, 1, QColor(254, 0, 255));  // close to the key, but not it
        // Drawn over green, the left-out pixels show the green.
        QImage canvas(4, 3, QImage::Format_RGB32);
        canvas.fill(Qt::green);
        {
            QPainter painter(&canvas);
            painter.drawPixmap(0, 0, TransparentPixmap(image));
        }
        auto shows = [&](int x, int y) { return canvas.pixelColor(x, y); };
        QCOMPARE(shows(0, 2), QColor(Qt::green));
        QCOMPARE(shows(3, 0), QColor(Qt::green));
        QCOMPARE(shows(1, 1), QColor(254, 0, 255));
        QCOMPARE(shows(0, 0), QColor(10, 20, 30));
        QCOMPARE(shows(3, 2), QColor(10, 20, 30));
    }

    void clickNeedsLeftPressAndReleaseInside() {
        TImage image(nullptr);
        image.resize(20, 20);
        int clicks = 0;
        connect(&image, &TImage::Click, [&] { ++clicks; });
        QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks, 1);
        QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(clicks, 1);
        QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(50, 5));  // released outside
        QCOMPARE(clicks, 1);
    }
};

CHIMEWICK_QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
