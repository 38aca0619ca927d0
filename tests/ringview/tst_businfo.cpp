// "Bus Info" without a click: ring geometry, the module images, the drawing with the link
// colours read back from it, and what a picture tells on hover and to a screen reader.
#include "RingFixture.h"
#include "model/LocateFailures.h"
#include "model/ModuleDescription.h"
#include "ringview/ModuleImages.h"
#include "ringview/ModulePicture.h"
#include "ringview/RingCanvas.h"
#include "ringview/frmBackground.h"

#include <QHelpEvent>
#include <QtTest>

using namespace ringtest;

namespace {
ModuleData MakeRecord(int id, char side, int version, int mode, bool fault1, int counter1, bool fault2,
                      int counter2)
{
    ModuleData record;
    record.SetModuleID(int16_t(id));
    record.SetSide(uint8_t(side));
    record.SetVersion(uint8_t(version));
    record.SetMode(uint8_t(mode));
    record.SetStatusChannel1(fault1);
    record.SetErrorCounterChannel1(int16_t(counter1));
    record.SetStatusChannel2(fault2);
    record.SetErrorCounterChannel2(int16_t(counter2));
    return record;
}
} // namespace

Q_DECLARE_METATYPE(ModuleData)

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

    // Halves go to the even neighbour: 112.5 is 112, 157.5 is 158.
    void positionDegrees()
    {
        const QList<int> degrees{90, 112, 135, 158, 180, 202, 225, 248, 270, 292, 315, 338, 360, 382, 405, 428};
        for (int k = 0; k < 16; ++k)
            QCOMPARE(PositionDegrees(k, 16), degrees[k]);
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
    void ringAtTheScreensResolution()
    {
        RingCanvas canvas;
        canvas.Resize(QSize(100, 100), 2.0);
        canvas.Circle(750, 750, 600, RingCanvas::kBlue);  // centre (50, 50), radius 40 pixels
        const QImage &image = canvas.Image();
        QCOMPARE(image.size(), QSize(200, 200));
        QCOMPARE(image.devicePixelRatio(), 2.0);
        int onRing = 0;
        int offEvenGrid = 0;
        const QRgb blue = RingCanvas::kBlue.rgb();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != blue)
                    continue;
                ++onRing;
                const double distance = std::hypot(x - 100, y - 100);
                QVERIFY2(std::abs(distance - 80) <= 2.5, qPrintable(QString::number(distance)));
                // A pixel whose left neighbour is background starts a pen square.
                offEvenGrid += x % 2 == 1 && image.pixel(x - 1, y) != blue;
            }
        }
        QVERIFY(onRing > int(2 * 3.14159 * 80));
        QVERIFY(offEvenGrid > 0);
    }

    void linkColours_data()
    {
        using R = std::vector<RingModule>;
        QTest::addColumn<R>("ring");
        QTest::addColumn<QString>("links");  // link k runs from position k to the next
        QTest::newRow("one sound") << R{{5}} << "b";
        QTest::newRow("one faulty: the whole ring") << R{{5, false, true}} << "r";
        QTest::newRow("two, one faulty") << R{{1, true}, {2}} << "bb";
        QTest::newRow("two faulty") << R{{1, true}, {2, false, true}} << "rr";
        QTest::newRow("ch1 next to ch2, next to sound") << R{{1, true}, {2, false, true}, {3}, {4}} << "rbbb";
        QTest::newRow("ch2 next to ch2") << R{{1, false, true}, {2, false, true}, {3}} << "rbb";
        QTest::newRow("last to first") << R{{1, true, true}, {2}, {3}, {4}, {5, true}} << "bbbbr";
        R sixteen;
        for (int k = 0; k < 16; ++k)
            sixteen.push_back({k + 10, k % 4 < 2, false});
        QTest::newRow("sixteen, every other faulty pair") << sixteen << "rbbbrbbbrbbbrbbb";
    }
    void linkColours()
    {
        QFETCH(std::vector<RingModule>, ring);
        const auto window = Drawn(ring);
        const int count = int(ring.size());
        QString links;
        for (int k = 0; k < count; ++k)
            links += RingColourAt(window->Drawing(), count == 1 ? 270.0 : LinkMiddle(k, count));
        QTEST(links, "links");
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
            QCOMPARE(RingColourAt(window->Drawing(), degrees + 7), 'b');
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
        QCOMPARE(RingColourAt(window->Drawing(), 45), 'b');
        // Nor does a ring taller than 16 bits of twips.
        QCOMPARE(PictureRadius(RingRadius(70000.0, 405)), 34595);
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
        QCOMPARE(RingColourAt(shown, LinkMiddle(0, 3)), 'r');
        QCOMPARE(RingColourAt(shown, LinkMiddle(1, 3)), 'b');

        gModuleCount = 2;
        gModules[2].SetStatusChannel1(true);
        window->resize(500, 360);
        QCoreApplication::processEvents();
        QCOMPARE(window->Drawing().size(), QSize(500, 360));
        QCOMPARE(RingColourAt(window->Drawing(), 180), 'r');
    }
    void describe_data()
    {
        QTest::addColumn<ModuleData>("record");
        QTest::addColumn<bool>("locateFailed");
        QTest::addColumn<QString>("text");
        QTest::newRow("attached, sound, 9600 8N1")
            << MakeRecord(5, 'G', 41, 0x03, false, 0, false, 0) << false
            << "Module 5\nLast reply: G (attached module)\nVersion: 4.1\n"
               "Mode: 00000011 (9600 baud, no parity, 1 stop bit, CH1_Error AND CH2_Error)\n"
               "Channel 1: sound, error counter 0\nChannel 2: sound, error counter 0";
        QTest::newRow("side L, channel 1 faulty, even, two stop bits")
            << MakeRecord(7, 'L', 40, 0x5C, true, 12, false, 0) << false
            << "Module 7\nLast reply: L (side L)\nVersion: 4.0\n"
               "Mode: 01011100 (19200 baud, even parity, 2 stop bits, NOT CH1_Error AND NOT CH2_Error)\n"
               "Channel 1: faulty, error counter 12\nChannel 2: sound, error counter 0";
        QTest::newRow("side R, channel 2 faulty, odd wins over even")
            << MakeRecord(32000, 'R', 255, 0xE7, false, 0, true, -1) << false
            << "Module 32000\nLast reply: R (side R)\nVersion: 25.5\n"
               "Mode: 11100111 (115200 baud, odd parity, 1 stop bit, CH1_Error OR CH2_Error)\n"
               "Channel 1: sound, error counter 0\nChannel 2: faulty, error counter -1";
        QTest::newRow("locate answer, then a locate without answer")
            << MakeRecord(12, 'P', 41, 0, true, 0, true, 0) << true
            << "Module 12\nLast reply: P (locate answer)\nVersion: 4.1\n"
               "Mode: 00000000 (1200 baud, no parity, 1 stop bit, CH1_Error AND CH2_Error)\n"
               "Channel 1: faulty, error counter 0\nChannel 2: faulty, error counter 0\n"
               "Marked faulty: no answer to the last locate";
        QTest::newRow("no reply yet") << MakeRecord(0, 0, 0, 0, false, 0, false, 0) << false
                                      << "No module has answered yet";
    }
    void describe()
    {
        QFETCH(ModuleData, record);
        QFETCH(bool, locateFailed);
        QTEST(DescribeModule(record, locateFailed), "text");
    }

    // The picture reads the record when the tooltip is asked for, so a reply parsed after
    // the ring was drawn shows; the description carries the same words.
    void pictureTellsRecord()
    {
        QWidget parent;
        ModulePicture picture(0, &parent);
        gModules[12] = MakeRecord(12, 'R', 41, 0x03, false, 0, false, 0);
        picture.SetImage(5, 12);
        QCOMPARE(picture.accessibleDescription(), DescribeModule(gModules[12], false) + "\nSelected");
        gModules[12].SetErrorCounterChannel1(7);
        MarkLocateFailed(12);
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
        QApplication::sendEvent(&picture, &hover);
        QCOMPARE(picture.toolTip(), DescribeModule(gModules[12], true));
        QCOMPARE(picture.accessibleDescription(), picture.toolTip() + "\nSelected");
    }
};

QTEST_MAIN(TestBusInfo)
#include "tst_businfo.moc"
