// Ring geometry without a screen: position angles, the degree wrap and where pictures go.
// Link colours and images are read back from the drawing in tst_businfo and tst_moduleclick.
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

};

QTEST_APPLESS_MAIN(TestRingGeometry)
#include "tst_ringgeometry.moc"
