// Ring geometry without a screen: position angles, the degree wrap, where pictures go,
// the arc sweep, the link colour rules and the image choice.
#include "ringview/RingGeometry.h"

#include <QtTest>

class TestRingGeometry : public QObject
{
    Q_OBJECT

private slots:
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
        QList<int> actual;
        for (int k = 0; k < count; ++k)
            actual << PositionDegrees(k, count);
        QCOMPARE(actual, degrees);
    }

    // The same lists after the wrap, as angles on the screen: 360 is 0, 378 is 18, ...
    void positionAngles_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("degrees");
        QTest::newRow("4") << 4 << QList<int>{90, 180, 270, 0};
        QTest::newRow("5") << 5 << QList<int>{90, 162, 234, 306, 18};
        QTest::newRow("7") << 7 << QList<int>{90, 141, 193, 244, 296, 347, 39};
        QTest::newRow("16") << 16
                            << QList<int>{90, 112, 135, 158, 180, 202, 225, 248, 270, 292, 315, 338, 0, 22, 45,
                                          68};
    }
    void positionAngles()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, degrees);
        for (int k = 0; k < count; ++k)
            QCOMPARE(PositionAngle(k, count), degrees[k] * kRingPi / 180.0);
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
        QCOMPARE(DegToRad(int16_t(deg)), double(effective) * 3.14159265358979 / 180.0);
    }

    void degToRadUsesTheShortConstant()
    {
        QCOMPARE(DegToRad(180), 3.14159265358979);
        QVERIFY(DegToRad(180) != M_PI);
    }

    void neighbours()
    {
        QCOMPARE(NextPosition(0, 3), 1);
        QCOMPARE(NextPosition(2, 3), 0);
        QCOMPARE(PreviousPosition(0, 3), 2);
        QCOMPARE(PreviousPosition(2, 3), 1);
        QCOMPARE(NextPosition(0, 1), 0);
        QCOMPARE(PreviousPosition(0, 1), 0);
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
        QFETCH(float, ringRadius);
        QFETCH(int, pictureRadius);
        QCOMPARE(RingRadius(innerHeight, 405), ringRadius);
        QCOMPARE(PictureRadius(RingRadius(innerHeight, 405)), int32_t(pictureRadius));
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

    void arcSweep_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("sweep");
        QTest::newRow("left half") << 90 << 270 << 180;
        QTest::newRow("right half, through 0") << 270 << 90 << 180;
        QTest::newRow("last to first of 4") << 0 << 90 << 90;
        QTest::newRow("through 0 of 5") << 306 << 18 << 72;
        QTest::newRow("equal: whole circle") << 90 << 90 << 360;
    }
    void arcSweep()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, sweep);
        const double actual = ArcSweep(DegToRad(int16_t(from)), DegToRad(int16_t(to)));
        QVERIFY2(qAbs(actual - sweep * kRingPi / 180.0) < 1e-9, qPrintable(QString::number(actual)));
    }

    void linkIsRed_data()
    {
        QTest::addColumn<bool>("p1");
        QTest::addColumn<bool>("p2");
        QTest::addColumn<bool>("q1");
        QTest::addColumn<bool>("q2");
        QTest::addColumn<bool>("red");
        QTest::newRow("both sound") << false << false << false << false << false;
        QTest::newRow("one side faulty") << true << true << false << false << false;
        QTest::newRow("other side faulty") << false << false << false << true << false;
        QTest::newRow("ch1 next to ch2") << true << false << false << true << true;
        QTest::newRow("ch2 next to ch2") << false << true << false << true << true;
        QTest::newRow("all faulty") << true << true << true << true << true;
    }
    void linkIsRed()
    {
        QFETCH(bool, p1);
        QFETCH(bool, p2);
        QFETCH(bool, q1);
        QFETCH(bool, q2);
        QFETCH(bool, red);
        QCOMPARE(LinkIsRed(p1, p2, q1, q2), red);
        QCOMPARE(LinkIsRed(q1, q2, p1, p2), red);
    }

    void clickLinkIsRed_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("clickedChannel");
        QTest::addColumn<bool>("clickedAny");
        QTest::addColumn<bool>("neighbourAny");
        QTest::addColumn<bool>("red");
        QTest::newRow("two: own channel faulty, other faulty") << 2 << true << true << true << true;
        QTest::newRow("two: other channel faulty only") << 2 << false << true << true << false;
        QTest::newRow("two: other module sound") << 2 << true << true << false << false;
        QTest::newRow("three: any channel") << 3 << false << true << true << true;
        QTest::newRow("three: neighbour sound") << 3 << false << true << false << false;
        QTest::newRow("one: own module both ends") << 1 << false << true << true << true;
    }
    void clickLinkIsRed()
    {
        QFETCH(int, count);
        QFETCH(bool, clickedChannel);
        QFETCH(bool, clickedAny);
        QFETCH(bool, neighbourAny);
        QFETCH(bool, red);
        QCOMPARE(ClickLinkIsRed(count, clickedChannel, clickedAny, neighbourAny), red);
    }

    void imageIndex_data()
    {
        QTest::addColumn<bool>("ch1");
        QTest::addColumn<bool>("ch2");
        QTest::addColumn<int>("normal");
        QTest::newRow("sound") << false << false << 1;
        QTest::newRow("ch1") << true << false << 2;
        QTest::newRow("ch2") << false << true << 3;
        QTest::newRow("both") << true << true << 4;
    }
    void imageIndex()
    {
        QFETCH(bool, ch1);
        QFETCH(bool, ch2);
        QFETCH(int, normal);
        QCOMPARE(ImageIndex(ch1, ch2, false), normal);
        QCOMPARE(ImageIndex(ch1, ch2, true), normal + 4);
    }
};

QTEST_APPLESS_MAIN(TestRingGeometry)
#include "tst_ringgeometry.moc"
