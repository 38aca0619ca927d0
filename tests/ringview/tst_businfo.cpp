// "Bus Info" without a click: the module images, the drawing with the link colours read back
// from it, where the pictures stand on the ring, and what a picture tells on hover and to a
// screen reader.
#include "RingFixture.h"
#include "model/ModuleDescription.h"
#include "ringview/ModuleImages.h"
#include "ringview/ModulePicture.h"
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

// Whether the left (lamp of channel 1) or right half (channel 2) of an image shows a colour.
bool Shows(const QImage &image, bool rightHalf, QRgb colour)
{
    const int half = image.width() / 2;
    for (int y = 0; y < image.height(); ++y)
        for (int x = rightHalf ? half : 0; x < half + (rightHalf ? half : 0); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}
} // namespace

Q_DECLARE_METATYPE(ModuleData)

class TestBusInfo : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MemorySerialPort> mPort;
    std::unique_ptr<RingCore> mCore;
    TwipsSize mKeptSize;

    // A fresh window drawn over the ring; 400 x 300 pixels: ring radius 1845 twips (123 pixels).
    std::unique_ptr<frmBackground> Drawn(const std::vector<RingModule> &ring, int width = 400, int height = 300)
    {
        SetRing(*mCore, *mPort, ring);
        auto window = std::make_unique<frmBackground>(*mCore, mKeptSize);
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
    void init()
    {
        mCore.reset();
        mPort = std::make_unique<MemorySerialPort>();
        mCore = std::make_unique<RingCore>(mPort.get());
        mKeptSize = {};
    }

    // Lamp 1 on the left, lamp 2 on the right: red when the channel is faulty, else green;
    // the face light blue for the selected module, else grey.
    void imageShowsChannelsAndSelection_data()
    {
        QTest::addColumn<bool>("fault1");
        QTest::addColumn<bool>("fault2");
        QTest::addColumn<bool>("selected");
        for (int k = 0; k < 8; ++k)
            QTest::addRow("ch1 %s, ch2 %s%s", k & 1 ? "faulty" : "sound", k & 2 ? "faulty" : "sound",
                          k & 4 ? ", selected" : "")
                << bool(k & 1) << bool(k & 2) << bool(k & 4);
    }
    void imageShowsChannelsAndSelection()
    {
        QFETCH(bool, fault1);
        QFETCH(bool, fault2);
        QFETCH(bool, selected);
        const QImage image = ModuleImage(ImageIndex(fault1, fault2, selected));
        const QRgb green = qRgb(0, 255, 0), red = qRgb(255, 0, 0);
        QCOMPARE(Shows(image, false, red), fault1);
        QCOMPARE(Shows(image, false, green), !fault1);
        QCOMPARE(Shows(image, true, red), fault2);
        QCOMPARE(Shows(image, true, green), !fault2);
        QCOMPARE(Shows(image, false, qRgb(192, 192, 255)), selected);
        QCOMPARE(Shows(image, false, qRgb(128, 128, 128)), !selected);
    }

    // Whole pixels on a screen at 150 %: each design pixel becomes 2 x 2, so the image stays sharp.
    void highDpiIsWholePixels()
    {
        const QPixmap pixmap = ModulePixmap(6, 1.5);
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
        const QImage scaled = pixmap.toImage();
        const QImage design = ModuleImage(6);
        QCOMPARE(scaled.size(), design.size() * 2);
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
        QCOMPARE(window->PictureCount(), 1000);
        for (int degrees = 0; degrees < 360; degrees += 45)
            QCOMPARE(RingColourAt(window->Drawing(), degrees + 7), 'b');
    }

    // Each picture's centre lies on the ring at its position, counterclockwise from the top; a
    // window too low for a ring mirrors them through the centre; a window beyond 16 bits of
    // twips (a 4K screen, or taller than 2184 pixels) does not wrap. Closed and opened again,
    // the window has its size back.
    void picturesOnTheRing_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("ringDrawn");
        QTest::newRow("400 x 300") << QSize(400, 300) << true;
        QTest::newRow("30 high: no ring, mirrored") << QSize(400, 30) << false;
        QTest::newRow("3840 wide") << QSize(3840, 600) << true;
        QTest::newRow("4500 high") << QSize(300, 4500) << true;
    }
    void picturesOnTheRing()
    {
        QFETCH(QSize, size);
        QFETCH(bool, ringDrawn);
        constexpr int kCount = 5;
        const auto window = Drawn({{1}, {2}, {3}, {4}, {5}}, size.width(), size.height());
        const double radius = (size.height() * kTwipsPerPixel / 2.0 - 405.0) / kTwipsPerPixel;
        for (int k = 0; k < kCount; ++k) {
            const double a = PositionDegrees(k, kCount) * kRingPi / 180.0;
            const QPointF expected(size.width() / 2.0 + radius * std::cos(a), size.height() / 2.0 - radius * std::sin(a));
            const QPointF centre = QRectF(window->picModule(k)->geometry()).center();
            QVERIFY2((centre - expected).manhattanLength() <= 2.0, qPrintable(QString::number(k)));
        }
        QCOMPARE(QRectF(window->picModule(0)->geometry()).center().y() > size.height() / 2.0, !ringDrawn);
        QCOMPARE(RingColourAt(window->Drawing(), LinkMiddle(2, kCount)), ringDrawn ? 'b' : '-');

        window->close();
        QCOMPARE(frmBackground(*mCore, mKeptSize).size(), size);
    }

    // A drawing pass shows every module of the new ring as sound or faulty, unselected, and
    // hides the pictures the ring no longer has; activation drops them.
    void drawingPassShowsNormalImagesAndHidesLeftovers()
    {
        const auto window = Drawn({{1}, {2}, {3}, {4}, {5}});
        window->picModule(2)->SetImage(7, 3);
        SetRing(*mCore, *mPort, {{1}, {2}, {3, false, true}});
        window->DrawModules();
        QCOMPARE(Images(*window), (QList<int>{1, 1, 3, 0, 0}));
        QPointer<ModulePicture> leftover = window->picModule(4);
        window->Form_Activate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!leftover);
        QCOMPARE(Images(*window), (QList<int>{1, 1, 3}));
    }

    // A repaint shows the last drawing pass, not what came since; a resize draws anew.
    void paintingShowsTheLastPassAndResizeRedraws()
    {
        const auto window = Drawn({{1, true}, {2, true}, {3}});
        window->show();
        SetRing(*mCore, *mPort, {{1, true}, {2}, {3}});
        const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(RingColourAt(shown, LinkMiddle(0, 3)), 'r');
        QCOMPARE(RingColourAt(shown, LinkMiddle(1, 3)), 'b');

        SetRing(*mCore, *mPort, {{1, true}, {2, true}});
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
        SetRing(*mCore, *mPort, {{12}});
        const RingTable &table = mCore->Table();
        QWidget parent;
        ModulePicture picture(0, table, &parent);
        picture.SetImage(5, 12);
        QCOMPARE(picture.accessibleDescription(), DescribeModule(table.Module(12), false) + "\nSelected");
        Reply reply;
        reply.letter = 'P';
        reply.id = 12;
        reply.version = 41;
        reply.mode = 0x03;
        reply.counter1 = 7;
        mPort->Feed(EncodeReply(reply));
        mCore->Link().PollPort();
        mCore->Link().ParseReceived();
        QCOMPARE(table.Module(12).GetErrorCounterChannel1(), int16_t(7));
        mCore->LocateUnanswered(0, 12);
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
        QApplication::sendEvent(&picture, &hover);
        QCOMPARE(picture.toolTip(), DescribeModule(table.Module(12), true));
        QVERIFY(picture.toolTip().contains("error counter 7") && picture.toolTip().contains("Marked faulty"));
        QCOMPARE(picture.accessibleDescription(), picture.toolTip() + "\nSelected");
    }
};

QTEST_MAIN(TestBusInfo)
#include "tst_businfo.moc"
