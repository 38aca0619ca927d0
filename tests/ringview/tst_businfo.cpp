// "Bus Info" without a click: ring geometry, the module images, and the drawing with the
// link colours read back from it.
#include "RingFixture.h"
#include "ringview/ModuleImages.h"
#include "ringview/ModulePicture.h"
#include "ringview/RingCanvas.h"
#include "ringview/frmBackground.h"

#include <QtTest>

using namespace ringtest;

class TestBusInfo : public QObject
{
    Q_OBJECT

private:
    // 400 x 300 pixels: 6000 x 4500 twips, ring radius 1845 twips (123 pixels).
    std::unique_ptr<frmBackground> Drawn(const std::vector<RingModule> &ring, int width = 400, int height = 300)
    {
        SetRing(ring);
        auto window = std::make_unique<frmBackground>();
        window->resize(width, height);
        window->DrawModules();
        return window;
    }
    static QList<int> Images(const frmBackground &window)
    {
        QList<int> images;
        for (int k = 0; k < window.PictureCount(); ++k)
            images << (window.picModule(k)->isHidden() ? 0 : window.picModule(k)->Image());
        return images;
    }

private slots:
    void init() { ResetGlobals(); }

    void positionDegrees_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("degrees");
        QTest::newRow("1") << 1 << QList<int>{90};
        QTest::newRow("2") << 2 << QList<int>{90, 270};
        QTest::newRow("4") << 4 << QList<int>{90, 180, 270, 360};
        QTest::newRow("5") << 5 << QList<int>{90, 162, 234, 306, 378};
        QTest::newRow("7") << 7 << QList<int>{90, 141, 193, 244, 296, 347, 399};
        QTest::newRow("16") << 16
                            << QList<int>{90, 112, 135, 158, 180, 202, 225, 248, 270, 292, 315, 338, 360, 382,
                                          405, 428};
    }
    void positionDegrees()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, degrees);
        for (int k = 0; k < count; ++k) {
            QCOMPARE(PositionDegrees(k, count), degrees[k]);
            // On the screen 360 is 0, 378 is 18, ...
            QCOMPARE(PositionAngle(k, count), (degrees[k] % 360) * kRingPi / 180.0);
        }
    }

    void radii_data()
    {
        QTest::addColumn<double>("innerHeight");
        QTest::addColumn<float>("ringRadius");
        QTest::addColumn<int>("pictureRadius");
        QTest::newRow("too low: negative") << 600.0 << -105.0f << -105;
        // A 4K screen: the radius is beyond 16 bits and must not wrap.
        QTest::newRow("beyond 16 bits") << 70000.0 << 34595.0f << 34595;
    }
    void radii()
    {
        QFETCH(double, innerHeight);
        QTEST(RingRadius(innerHeight, 405), "ringRadius");
        QTEST(int(PictureRadius(RingRadius(innerHeight, 405))), "pictureRadius");
    }

    // Face (10,15), lamps (7,5) and (14,5), a lamp rim corner left to the face, a cut corner.
    void faceAndLamps_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<QRgb>>("pixels");
        const QRgb green = qRgb(0, 255, 0), red = qRgb(255, 0, 0), grey = qRgb(128, 128, 128);
        const QRgb blue = qRgb(192, 192, 255);
        QTest::newRow("3 unselected, ch2 faulty") << 3 << QList<QRgb>{grey, green, red, grey, 0};
        QTest::newRow("6 selected, ch1 faulty") << 6 << QList<QRgb>{blue, red, green, blue, 0};
    }
    void faceAndLamps()
    {
        QFETCH(int, index);
        const QImage image = ModuleImage(index);
        const QList<QRgb> pixels{image.pixel(10, 15), image.pixel(7, 5), image.pixel(14, 5), image.pixel(5, 3),
                                 image.pixel(0, 0)};
        QTEST(pixels, "pixels");
        QVERIFY(ModuleImage(0).isNull() && ModuleImage(9).isNull());
    }

    // Whole pixels on a screen at 150 %: each design pixel becomes 2 x 2.
    void highDpiIsWholePixels()
    {
        const QPixmap pixmap = ModulePixmap(6, 1.5);
        QCOMPARE(pixmap.size(), QSize(40, 54));
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
        const QImage scaled = pixmap.toImage();
        const QImage design = ModuleImage(6);
        for (int y = 0; y < scaled.height(); ++y)
            for (int x = 0; x < scaled.width(); ++x)
                QCOMPARE(scaled.pixel(x, y), design.pixel(x / 2, y / 2));
    }

    // At a scale of 2 the ring is drawn in device pixels with a pen two of them wide, not
    // drawn at the logical size and enlarged: its pen squares do not all start on even pixels.
    void ringAtTheScreensResolution_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }
    void ringAtTheScreensResolution()
    {
        QFETCH(double, scale);
        RingCanvas canvas;
        canvas.Resize(QSize(100, 100), scale);
        canvas.Circle(750, 750, 600, RingCanvas::kBlue);  // centre (50, 50), radius 40 pixels
        const QImage &image = canvas.Image();
        QCOMPARE(image.size(), QSize(100, 100) * scale);
        QCOMPARE(image.devicePixelRatio(), scale);
        int onRing = 0;
        int offEvenGrid = 0;
        const QRgb blue = RingCanvas::kBlue.rgb();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != blue)
                    continue;
                ++onRing;
                const double distance = std::hypot(x - 50 * scale, y - 50 * scale);
                QVERIFY2(std::abs(distance - 40 * scale) <= scale + 0.5, qPrintable(QString::number(distance)));
                // A pixel whose left neighbour is background starts a pen square.
                if (x % 2 == 1 && (x == 0 || image.pixel(x - 1, y) != blue))
                    ++offEvenGrid;
            }
        }
        QVERIFY(onRing > int(2 * 3.14159 * 40 * scale));
        if (scale == 2.0)
            QVERIFY(offEvenGrid > 0);
    }

    void linkColours_data()
    {
        using R = std::vector<RingModule>;
        using L = QList<Seen>;  // link k runs from position k to the next
        QTest::addColumn<R>("ring");
        QTest::addColumn<L>("links");
        const auto B = Seen::Blue;
        const auto X = Seen::Red;
        QTest::newRow("one sound") << R{{5}} << L{B};
        QTest::newRow("one faulty: the whole ring") << R{{5, false, true}} << L{X};
        QTest::newRow("two, one faulty") << R{{1, true}, {2}} << L{B, B};
        QTest::newRow("two faulty") << R{{1, true}, {2, false, true}} << L{X, X};
        QTest::newRow("ch1 next to ch2, next to sound") << R{{1, true}, {2, false, true}, {3}, {4}} << L{X, B, B, B};
        QTest::newRow("ch2 next to ch2") << R{{1, false, true}, {2, false, true}, {3}} << L{X, B, B};
        QTest::newRow("last to first") << R{{1, true, true}, {2}, {3}, {4}, {5, true}} << L{B, B, B, B, X};
        R sixteen;
        for (int k = 0; k < 16; ++k)
            sixteen.push_back({k + 10, k % 4 < 2, false});
        QTest::newRow("sixteen, every other faulty pair") << sixteen << L{X, B, B, B, X, B, B, B, X, B, B, B, X, B, B, B};
    }
    void linkColours()
    {
        QFETCH(std::vector<RingModule>, ring);
        QFETCH(QList<Seen>, links);
        const auto window = Drawn(ring);
        const int count = int(ring.size());
        for (int k = 0; k < count; ++k) {
            const double middle = count == 1 ? 270.0 : LinkMiddle(k, count);
            QVERIFY2(RingColourAt(window->Drawing(), middle) == links[k], qPrintable(QString::number(k)));
        }
    }

    // Beyond 360 modules neighbours share a whole degree; their links have no length and
    // must not paint the whole ring in their colour.
    void largeRingSharedDegrees()
    {
        std::vector<RingModule> ring;
        for (int id = 1; id <= 1000; ++id)
            ring.push_back({id, id == 3 || id == 4, false});
        const auto window = Drawn(ring);
        for (int degrees = 0; degrees < 360; degrees += 45)
            QCOMPARE(RingColourAt(window->Drawing(), degrees + 7), Seen::Blue);
    }

    void lowWindowMirrorsThePictures()
    {
        // 30 pixels high: ring radius 225 - 405 = -180 twips, no ring drawn.
        const auto window = Drawn({{1}, {2}}, 400, 30);
        const QImage &image = window->Drawing();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(image.pixel(x, y), QColor(192, 192, 192).rgb());
        // Position 0 belongs at the top and lands below the centre, position 1 the other way.
        QCOMPARE(window->picModule(0)->pos(), QPoint(190, 14));
        QCOMPARE(window->picModule(1)->pos(), QPoint(190, -11));
    }

    void wideWindowDoesNotWrap()
    {
        // Wider than 32767 twips, as on a 4K screen: ring radius 4095 twips, centre x 28800.
        const auto window = Drawn({{1}, {2}, {3}, {4}}, 3840, 600);
        QCOMPARE(window->picModule(0)->pos(), QPoint(1910, 14));
        QCOMPARE(window->picModule(3)->pos(), QPoint(2183, 287));
        QCOMPARE(RingColourAt(window->Drawing(), 45), Seen::Blue);
        window->close();
        QCOMPARE(gBusInfoWidth, int32_t(57600));
        QCOMPARE(gBusInfoHeight, int32_t(9000));
        QCOMPARE(frmBackground().size(), QSize(3840, 600));
    }

    void drawingPassShowsNormalImagesAndHidesLeftovers()
    {
        const auto window = Drawn({{1}, {2}, {3}, {4}, {5}});
        window->picModule(2)->SetImage(7, 3);
        gModules[3].SetStatusChannel2(true);
        gModuleCount = 3;
        window->DrawModules();
        QCOMPARE(Images(*window), (QList<int>{1, 1, 3, 0, 0}));
        // Activation drops the leftovers.
        QPointer<ModulePicture> leftover = window->picModule(4);
        window->Form_Activate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!leftover);
        QCOMPARE(Images(*window), (QList<int>{1, 1, 3}));
    }

    void paintingShowsTheLastPassAndResizeRedraws()
    {
        const auto window = Drawn({{1, true}, {2, true}, {3}});
        window->show();
        // Statuses change without a drawing pass: a repaint must not draw anew.
        gModules[2].SetStatusChannel1(false);
        const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(RingColourAt(shown, LinkMiddle(0, 3)), Seen::Red);
        QCOMPARE(RingColourAt(shown, LinkMiddle(1, 3)), Seen::Blue);

        gModuleCount = 2;
        gModules[2].SetStatusChannel1(true);
        window->resize(500, 360);
        QCoreApplication::processEvents();
        QCOMPARE(window->Drawing().size(), QSize(500, 360));
        QCOMPARE(RingColourAt(window->Drawing(), 180), Seen::Red);
    }
};

QTEST_MAIN(TestBusInfo)
#include "tst_businfo.moc"
