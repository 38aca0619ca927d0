// The eight module images, checked pixel by pixel, and their sharp high-DPI versions.
#include "ringview/ModuleImages.h"

#include <QGuiApplication>
#include <QtTest>

namespace {
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);
// The middle of each lamp.
const QPoint kLamp1(7, 5);
const QPoint kLamp2(14, 5);
} // namespace

class TestModuleImages : public QObject
{
    Q_OBJECT

private slots:
    void faceAndLamps_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QColor>("face");
        QTest::addColumn<QColor>("lamp1");
        QTest::addColumn<QColor>("lamp2");
        const QColor grey(128, 128, 128);
        const QColor blue(192, 192, 255);
        const QColor green(kGreen);
        const QColor red(kRed);
        QTest::newRow("1") << 1 << grey << green << green;
        QTest::newRow("2") << 2 << grey << red << green;
        QTest::newRow("3") << 3 << grey << green << red;
        QTest::newRow("4") << 4 << grey << red << red;
        QTest::newRow("5") << 5 << blue << green << green;
        QTest::newRow("6") << 6 << blue << red << green;
        QTest::newRow("7") << 7 << blue << green << red;
        QTest::newRow("8") << 8 << blue << red << red;
    }
    void faceAndLamps()
    {
        QFETCH(int, index);
        QFETCH(QColor, face);
        QFETCH(QColor, lamp1);
        QFETCH(QColor, lamp2);
        const QImage image = ModuleImage(index);
        QCOMPARE(image.size(), QSize(20, 27));
        QCOMPARE(image.pixel(10, 15), face.rgb());
        QCOMPARE(image.pixel(kLamp1), lamp1.rgb());
        QCOMPARE(image.pixel(kLamp2), lamp2.rgb());
        // Each lamp: 4 x 4 lit pixels inside a black rim whose corners are left to the face.
        for (const QPoint &centre : {kLamp1, kLamp2}) {
            const QPoint topLeft = centre - QPoint(2, 2);
            for (int dy = 1; dy <= 4; ++dy)
                for (int dx = 1; dx <= 4; ++dx)
                    QCOMPARE(image.pixel(topLeft + QPoint(dx, dy)), image.pixel(centre));
            QCOMPARE(image.pixel(topLeft + QPoint(2, 0)), kBlack);
            QCOMPARE(image.pixel(topLeft + QPoint(5, 3)), kBlack);
            QCOMPARE(image.pixel(topLeft), face.rgb());
        }
        QVERIFY(ModuleImage(0).isNull() && ModuleImage(9).isNull());
    }

    void highDpiIsWholePixels_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("scale");
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2") << 2.0 << 2;
        QTest::newRow("3") << 3.0 << 3;
    }
    void highDpiIsWholePixels()
    {
        QFETCH(qreal, ratio);
        QFETCH(int, scale);
        const QPixmap pixmap = ModulePixmap(6, ratio);
        QCOMPARE(pixmap.size(), QSize(20 * scale, 27 * scale));
        QCOMPARE(pixmap.devicePixelRatio(), qreal(scale));
        const QImage scaled = pixmap.toImage();
        const QImage design = ModuleImage(6);
        for (int y = 0; y < scaled.height(); ++y)
            for (int x = 0; x < scaled.width(); ++x)
                QCOMPARE(scaled.pixel(x, y), design.pixel(x / scale, y / scale));
    }
};

QTEST_MAIN(TestModuleImages)
#include "tst_moduleimages.moc"
