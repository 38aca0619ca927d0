// The "Bus Info" window's drawing pass: the ring, the link colours read back from the drawing,
// where pictures and the "PC" label go, and the handlers for load, activation and unload.
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
    std::unique_ptr<frmBackground> NewWindow(int width = 400, int height = 300)
    {
        auto window = std::make_unique<frmBackground>();
        window->resize(width, height);
        return window;
    }

    static QList<int> Images(const frmBackground &window, int count)
    {
        QList<int> images;
        for (int k = 0; k < count; ++k)
            images << (window.picModule(k) ? window.picModule(k)->Image() : -1);
        return images;
    }

private slots:
    void init() { ResetGlobals(); }

    void loadState()
    {
        gBusInfoWidth = 6000;
        gBusInfoHeight = 3000;
        frmBackground window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Bus Info"));
        QCOMPARE(window.size(), QSize(400, 200));
        QCOMPARE(window.PictureCount(), 1);
        QCOMPARE(window.picModule(0)->objectName(), QStringLiteral("picModule0"));
        QCOMPARE(window.picModule(0)->Image(), 1);
        QCOMPARE(window.picModule(0)->geometry(), QRect(208, 56, 20, 27));
        QCOMPARE(window.lblPC->text(), QStringLiteral("PC"));
        QVERIFY(window.lblPC->isHidden());
        QVERIFY(window.lblPC->font().bold());
        QCOMPARE(window.lblPC->font().pointSize(), 12);
        QCOMPARE(window.SelectedIndex(), 0);
    }

    void noModulesShowsTheBaseRingOnly()
    {
        auto window = NewWindow();
        window->DrawModules();
        const QImage &image = window->Drawing();
        QCOMPARE(image.size(), QSize(400, 300));
        for (int degrees = 0; degrees < 360; degrees += 30)
            QCOMPARE(RingColourAt(image, degrees), Seen::Blue);
        QCOMPARE(image.pixel(200, 150), QColor(192, 192, 192).rgb());
        QCOMPARE(window->PictureCount(), 1);
        QCOMPARE(window->picModule(0)->pos(), QPoint(208, 56));
        QVERIFY(window->lblPC->isHidden());
    }

    // Beyond 360 modules neighbours share a whole degree; their links have no length and
    // must not paint the whole ring in their colour.
    void largeRingSharedDegrees()
    {
        std::vector<RingModule> ring;
        for (int id = 1; id <= 1000; ++id)
            ring.push_back({id, id == 3 || id == 4, false});
        SetRing(ring);
        auto window = NewWindow();
        window->DrawModules();
        const QImage &image = window->Drawing();
        for (int degrees = 0; degrees < 360; degrees += 45)
            QCOMPARE(RingColourAt(image, degrees + 7), Seen::Blue);
        QCOMPARE(window->PictureCount(), 1000);
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
        QTest::newRow("last to first")
            << std::vector<RingModule>{{1, true, true}, {2}, {3}, {4}, {5, true}}
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
        SetRing(ring);
        auto window = NewWindow();
        window->DrawModules();
        const int count = int(ring.size());
        for (int k = 0; k < count; ++k) {
            const double middle = count == 1 ? 270.0 : LinkMiddle(k, count);
            QVERIFY2(RingColourAt(window->Drawing(), middle) == links[k], qPrintable(QString::number(k)));
        }
    }

    void picturePlaces()
    {
        SetRing({{1}, {2, true}, {3, false, true}, {4, true, true}});
        auto window = NewWindow();
        window->DrawModules();
        // Centre (3000, 2250) twips, picture radius 1845: top, left, bottom, right.
        QCOMPARE(window->picModule(0)->pos(), QPoint(190, 14));
        // 180 degrees in radians is a hair short of pi, so its sine is a hair above 0 and
        // the half twip of 2047.5 rounds down here but not at 0 degrees.
        QCOMPARE(window->picModule(1)->pos(), QPoint(67, 136));
        QCOMPARE(window->picModule(2)->pos(), QPoint(190, 260));
        QCOMPARE(window->picModule(3)->pos(), QPoint(313, 137));
        QCOMPARE(Images(*window, 4), (QList<int>{1, 2, 3, 4}));
        for (int k = 0; k < 4; ++k) {
            QVERIFY(window->picModule(k)->isVisibleTo(window.get()));
            QCOMPARE(window->picModule(k)->size(), QSize(20, 27));
            QCOMPARE(window->picModule(k)->property("index").toInt(), k);
        }
        QCOMPARE(window->lblPC->pos(), QPoint(190, 41));
        QVERIFY(window->lblPC->isVisibleTo(window.get()));
    }

    void labelFollowsThePreviousPlaceOfTheFirstPicture()
    {
        SetRing({{7}});
        auto window = NewWindow();
        window->DrawModules();
        QCOMPARE(window->lblPC->pos(), QPoint(208, 56 + 27));
        QCOMPARE(window->picModule(0)->pos(), QPoint(190, 14));
        window->DrawModules();
        QCOMPARE(window->lblPC->pos(), QPoint(190, 41));
    }

    void lowWindowMirrorsThePictures()
    {
        // 30 pixels high: ring radius 225 - 405 = -180 twips.
        SetRing({{1}, {2}});
        auto window = NewWindow(400, 30);
        window->DrawModules();
        const QImage &image = window->Drawing();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(image.pixel(x, y), QColor(192, 192, 192).rgb());
        // Position 0 belongs at the top and lands below the centre, position 1 the other way.
        QCOMPARE(window->picModule(0)->pos(), QPoint(190, 14));  // 225 + 180 - 202.5 = 202.5 twips
        QCOMPARE(window->picModule(1)->pos(), QPoint(190, -11));  // 225 - 180 - 202.5 = -157.5 twips
    }

    void wideWindowDoesNotWrap()
    {
        // Wider than 32767 twips, as on a 4K screen.
        SetRing({{1}, {2}, {3}, {4}});
        auto window = NewWindow(3840, 600);
        window->DrawModules();
        // Ring radius 4500 - 405 = 4095 twips; centre x 28800 twips.
        QCOMPARE(window->picModule(0)->pos(), QPoint(1910, 14));
        QCOMPARE(window->picModule(3)->pos(), QPoint(2183, 287));
        QCOMPARE(RingColourAt(window->Drawing(), 45), Seen::Blue);
        window->Form_Unload();
        QCOMPARE(gBusInfoWidth, int32_t(57600));
        QCOMPARE(gBusInfoHeight, int32_t(9000));

        frmBackground reloaded;
        QCOMPARE(reloaded.size(), QSize(3840, 600));
    }

    void drawingPassShowsNormalImagesAndHidesLeftovers()
    {
        SetRing({{1}, {2}, {3}, {4}, {5}});
        auto window = NewWindow();
        window->DrawModules();
        window->picModule(2)->SetImage(7, 3);
        gModules[3].SetStatusChannel2(true);
        gModuleCount = 3;
        window->DrawModules();
        QCOMPARE(window->PictureCount(), 5);
        QCOMPARE(Images(*window, 3), (QList<int>{1, 1, 3}));
        QVERIFY(window->picModule(0)->isVisibleTo(window.get()));
        QVERIFY(window->picModule(3)->isHidden());
        QVERIFY(window->picModule(4)->isHidden());
        // The three positions lie at 90, 210 and 330 degrees; 330 is right of and below the centre.
        QCOMPARE(window->picModule(2)->pos(), QPoint(297, 198));

        QPointer<ModulePicture> leftover = window->picModule(4);
        window->Form_Activate();
        QCOMPARE(window->PictureCount(), 3);
        QVERIFY(leftover && leftover->isHidden());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!leftover);
        QVERIFY(window->picModule(2)->isVisibleTo(window.get()));
    }

    void emptyRingAfterModulesHidesAllPictures()
    {
        SetRing({{1}, {2}});
        auto window = NewWindow();
        window->DrawModules();
        gModuleCount = 0;
        window->DrawModules();
        QVERIFY(window->picModule(0)->isHidden());
        QVERIFY(window->picModule(1)->isHidden());
    }

    void paintingShowsTheLastPass()
    {
        SetRing({{1, true}, {2, true}, {3}});
        auto window = NewWindow();
        window->show();
        window->DrawModules();
        // Statuses change without a drawing pass: a repaint must not draw anew.
        gModules[2].SetStatusChannel1(false);
        const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(RingColourAt(shown, LinkMiddle(0, 3)), Seen::Red);
        QCOMPARE(RingColourAt(shown, LinkMiddle(1, 3)), Seen::Blue);
    }

    void resizeRedraws()
    {
        SetRing({{1, true}, {2, true}});
        auto window = NewWindow();
        window->show();
        window->resize(500, 360);
        QCoreApplication::processEvents();
        QCOMPARE(window->Drawing().size(), QSize(500, 360));
        QCOMPARE(RingColourAt(window->Drawing(), 180), Seen::Red);
        QCOMPARE(window->picModule(1)->pos(), QPoint(240, 320));
    }

    void accessibleTexts()
    {
        SetRing({{12, true}, {300, false, true}});
        auto window = NewWindow();
        window->DrawModules();
        QCOMPARE(window->picModule(0)->accessibleName(), QStringLiteral("Module 12"));
        QCOMPARE(window->picModule(0)->accessibleDescription(), QStringLiteral("channel 1 faulty, channel 2 sound"));
        QCOMPARE(window->picModule(1)->accessibleName(), QStringLiteral("Module 300"));
        window->picModule(1)->SetImage(8, 300);
        QCOMPARE(window->picModule(1)->accessibleDescription(),
                 QStringLiteral("channel 1 faulty, channel 2 faulty, selected"));
        QCOMPARE(window->picModule(1)->focusPolicy(), Qt::StrongFocus);
    }

    void unloadStoresTheSize()
    {
        auto window = NewWindow(321, 123);
        window->close();
        QCOMPARE(gBusInfoWidth, int32_t(321 * 15));
        QCOMPARE(gBusInfoHeight, int32_t(123 * 15));
    }
};

QTEST_MAIN(TestBusInfo)
#include "tst_businfo.moc"
