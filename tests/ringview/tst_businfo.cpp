// The "Bus Info" window's drawing pass: the link colours read back from the drawing, where
// pictures and the "PC" label go, and the handlers for load, activation and unload.
#include "RingFixture.h"
#include "ringview/ModulePicture.h"
#include "ringview/frmBackground.h"

#include <QLabel>
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
