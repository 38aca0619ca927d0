// "Bus Info" without a click: the ring geometry (position angles, the degree wrap, where
// pictures go), the eight module images, and the window's drawing pass with the link colours
// read back from the drawing, the pictures, the "PC" label and load, activation and unload.
#include "RingFixture.h"
#include "ringview/ModuleImages.h"
#include "ringview/ModulePicture.h"
#include "ringview/frmBackground.h"

#include <QLabel>
#include <QtTest>

using namespace ringtest;

namespace {
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);
// The middle of each lamp.
const QPoint kLamp1(7, 5);
const QPoint kLamp2(14, 5);
} // namespace

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
    static QList<QPoint> Places(const frmBackground &window)
    {
        QList<QPoint> places;
        for (int k = 0; k < window.PictureCount(); ++k)
            places << window.picModule(k)->pos();
        return places;
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

    void degToRad_data()
    {
        QTest::addColumn<int>("deg");
        QTest::addColumn<int>("effective");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("359") << 359 << 359;
        QTest::newRow("360") << 360 << 0;
        QTest::newRow("450") << 450 << 90;
        QTest::newRow("800 wraps once") << 800 << 440;
        QTest::newRow("-1") << -1 << 359;
        QTest::newRow("-400 wraps once") << -400 << -40;
    }
    void degToRad()
    {
        QFETCH(int, deg);
        QFETCH(int, effective);
        // The short pi, not M_PI: 180 degrees is a hair short of pi.
        QCOMPARE(DegToRad(int16_t(deg)), double(effective) * 3.14159265358979 / 180.0);
        QVERIFY(DegToRad(180) != M_PI);
    }

    void radii_data()
    {
        QTest::addColumn<double>("innerHeight");
        QTest::addColumn<float>("ringRadius");
        QTest::addColumn<int>("pictureRadius");
        QTest::newRow("usual") << 4500.0 << 1845.0f << 1845;
        QTest::newRow("half twips, odd") << 4515.0 << 1852.5f << 1852;
        QTest::newRow("half twips, even") << 4545.0 << 1867.5f << 1868;
        QTest::newRow("exactly two pictures") << 810.0 << 0.0f << 0;
        QTest::newRow("too low") << 600.0 << -105.0f << -105;
        // A 4K screen: the radius is beyond 16 bits and must not wrap.
        QTest::newRow("taller") << 70000.0 << 34595.0f << 34595;
    }
    void radii()
    {
        QFETCH(double, innerHeight);
        QTEST(RingRadius(innerHeight, 405), "ringRadius");
        QTEST(int(PictureRadius(RingRadius(innerHeight, 405))), "pictureRadius");
    }

    void pictureTopLeft_data()
    {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("radius");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        // Window 6000 x 4500 twips, picture 300 x 405: centre (3000, 2250).
        QTest::newRow("top") << 90 << 1845 << 2850.0 << 202.5;
        QTest::newRow("left") << 180 << 1845 << 1005.0 << 2047.5;
        QTest::newRow("bottom") << 270 << 1845 << 2850.0 << 3892.5;
        QTest::newRow("right") << 0 << 1845 << 4695.0 << 2047.5;
        QTest::newRow("zero radius") << 90 << 0 << 2850.0 << 2047.5;
        QTest::newRow("negative radius, mirrored to the bottom") << 90 << -105 << 2850.0 << 2152.5;
        QTest::newRow("negative radius, mirrored to the right") << 180 << -105 << 2955.0 << 2047.5;
    }
    void pictureTopLeft()
    {
        QFETCH(int, degrees);
        QFETCH(int, radius);
        QFETCH(double, left);
        QFETCH(double, top);
        const TwipsPoint place = PictureTopLeft(6000, 4500, radius, DegToRad(int16_t(degrees)), 300, 405);
        QVERIFY2(qAbs(place.x - left) < 1e-6, qPrintable(QString::number(place.x)));
        QVERIFY2(qAbs(place.y - top) < 1e-6, qPrintable(QString::number(place.y)));
    }

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

    // Loaded at the stored size with one sound picture; the drawing shows the base ring alone.
    void noModulesShowsTheBaseRingOnly()
    {
        gBusInfoWidth = 6000;
        gBusInfoHeight = 4500;
        frmBackground window;
        QCOMPARE(window.size(), QSize(400, 300));
        window.DrawModules();
        for (int degrees = 0; degrees < 360; degrees += 30)
            QCOMPARE(RingColourAt(window.Drawing(), degrees), Seen::Blue);
        QCOMPARE(window.Drawing().pixel(200, 150), QColor(192, 192, 192).rgb());
        QCOMPARE(Places(window), QList<QPoint>{QPoint(208, 56)});
        QCOMPARE(Images(window), QList<int>{1});
        QVERIFY(window.lblPC->isHidden());
    }

    void linkColours_data()
    {
        QTest::addColumn<std::vector<RingModule>>("ring");
        QTest::addColumn<QList<Seen>>("links");  // link k runs from position k to the next
        const auto blue = Seen::Blue;
        const auto red = Seen::Red;
        QTest::newRow("one sound") << std::vector<RingModule>{{5}} << QList<Seen>{blue};
        QTest::newRow("one faulty: the whole ring") << std::vector<RingModule>{{5, false, true}} << QList<Seen>{red};
        QTest::newRow("two, one faulty") << std::vector<RingModule>{{1, true}, {2}} << QList<Seen>{blue, blue};
        QTest::newRow("two faulty") << std::vector<RingModule>{{1, true}, {2, false, true}} << QList<Seen>{red, red};
        QTest::newRow("ch1 next to ch2, next to sound")
            << std::vector<RingModule>{{1, true}, {2, false, true}, {3}, {4}} << QList<Seen>{red, blue, blue, blue};
        QTest::newRow("ch2 next to ch2") << std::vector<RingModule>{{1, false, true}, {2, false, true}, {3}}
                                         << QList<Seen>{red, blue, blue};
        QTest::newRow("last to first") << std::vector<RingModule>{{1, true, true}, {2}, {3}, {4}, {5, true}}
                                       << QList<Seen>{blue, blue, blue, blue, red};
        QTest::newRow("sixteen, every other faulty pair") << [] {
            std::vector<RingModule> ring;
            for (int k = 0; k < 16; ++k)
                ring.push_back({k + 10, k % 4 < 2, false});
            return ring;
        }() << QList<Seen>{red, blue, blue, blue, red, blue, blue, blue, red, blue, blue, blue, red, blue, blue, blue};
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

    void picturePlaces()
    {
        const auto window = Drawn({{1}, {2, true}, {3, false, true}, {4, true, true}});
        // Top, left, bottom, right. 180 degrees in radians is a hair short of pi, so its sine
        // is a hair above 0 and the half twip of 2047.5 rounds down there but not at 0 degrees.
        QCOMPARE(Places(*window), (QList<QPoint>{{190, 14}, {67, 136}, {190, 260}, {313, 137}}));
        QCOMPARE(Images(*window), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(window->lblPC->pos(), QPoint(190, 41));
        QVERIFY(window->lblPC->isVisibleTo(window.get()));
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
        QCOMPARE(Places(*window), (QList<QPoint>{{190, 14}, {190, -11}}));
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
        // The three positions lie at 90, 210 and 330 degrees; 330 is right of and below the centre.
        QCOMPARE(window->picModule(2)->pos(), QPoint(297, 198));

        // Activation drops the leftovers.
        QPointer<ModulePicture> leftover = window->picModule(4);
        window->Form_Activate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!leftover);
        QCOMPARE(Images(*window), (QList<int>{1, 1, 3}));

        gModuleCount = 0;
        window->DrawModules();
        QCOMPARE(Images(*window), (QList<int>{0, 0, 0}));
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
        QCOMPARE(window->picModule(1)->pos(), QPoint(240, 320));
    }

};

QTEST_MAIN(TestBusInfo)
#include "tst_businfo.moc"
