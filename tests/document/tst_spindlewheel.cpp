#include "spindlewheel.h"

#include <QLocale>
#include <QTest>

#include <cmath>

using namespace spindlewheel;

Q_DECLARE_METATYPE(spindlewheel::Segment)
Q_DECLARE_METATYPE(std::optional<spindlewheel::Segment>)

class TestSpindleWheel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void segmentsGoClockwiseFromTheTop_data();
    void segmentsGoClockwiseFromTheTop();
    void pointsOffTheRingsHitNothing_data();
    void pointsOffTheRingsHitNothing();
    void shadeAgainstTheLargest_data();
    void shadeAgainstTheLargest();
    void mostTripsNamesTheWorstSpindles_data();
    void mostTripsNamesTheWorstSpindles();
    void arrowKeysWalkTheWheel_data();
    void arrowKeysWalkTheWheel();
};

void TestSpindleWheel::segmentsGoClockwiseFromTheTop_data() {
    QTest::addColumn<Segment>("segment");
    QTest::addColumn<int>("countIndex");
    QTest::addColumn<double>("centreAngle"); // degrees, counter-clockwise from three o'clock
    QTest::addColumn<QString>("description");

    QTest::newRow("1 drive at twelve")
        << Segment{1, Side::Drive} << 0 << 90.0 << "Spindle 1, drive side: 3 trips";
    QTest::newRow("7 off at three")
        << Segment{7, Side::Off} << 30 << 0.0 << "Spindle 7, off side: 3 trips";
    QTest::newRow("13 drive at six")
        << Segment{13, Side::Drive} << 12 << -90.0 << "Spindle 13, drive side: 3 trips";
    QTest::newRow("24 off just left of twelve")
        << Segment{24, Side::Off} << 47 << 105.0 << "Spindle 24, off side: 3 trips";
}

void TestSpindleWheel::segmentsGoClockwiseFromTheTop() {
    QFETCH(Segment, segment);
    QFETCH(int, countIndex);
    QFETCH(double, centreAngle);
    QFETCH(QString, description);

    const Sector s = sector(segment);
    QCOMPARE(s.spanAngle, -15.0);
    QCOMPARE(std::fmod(s.startAngle + s.spanAngle / 2 + 720.0, 360.0),
             std::fmod(centreAngle + 360.0, 360.0));
    // Drive side inside, off side outside, and the rings do not overlap.
    if (segment.side == Side::Drive)
        QVERIFY(s.outerRadius < sector({segment.spindle, Side::Off}).innerRadius);
    QCOMPARE(spindlewheel::countIndex(segment), countIndex);
    QCOMPARE(segmentOf(countIndex), segment);
    // The number's place lies in its own segment, so hover and drawing agree.
    QCOMPARE(segmentAt(labelCentre(segment)), std::optional<Segment>(segment));
    QCOMPARE(describe(segment, 3), description);
}

void TestSpindleWheel::pointsOffTheRingsHitNothing_data() {
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<std::optional<Segment>>("hit");

    QTest::newRow("hub") << QPointF(0, 0) << std::optional<Segment>();
    QTest::newRow("between the rings") << QPointF(0, -0.70) << std::optional<Segment>();
    QTest::newRow("outside") << QPointF(0.8, -0.8) << std::optional<Segment>();
    QTest::newRow("just right of twelve, outer")
        << QPointF(0.05, -0.9) << std::optional<Segment>(Segment{1, Side::Off});
    QTest::newRow("just left of twelve, inner")
        << QPointF(-0.1, -0.5) << std::optional<Segment>(Segment{24, Side::Drive});
    QTest::newRow("nine o'clock, outer")
        << QPointF(-0.9, 0) << std::optional<Segment>(Segment{19, Side::Off});
}

void TestSpindleWheel::pointsOffTheRingsHitNothing() {
    QFETCH(QPointF, point);
    QFETCH(std::optional<Segment>, hit);
    QCOMPARE(segmentAt(point), hit);
}

void TestSpindleWheel::shadeAgainstTheLargest_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<qint64>("largest");
    QTest::addColumn<double>("shade");

    QTest::newRow("no trips") << qint64(0) << qint64(10) << 0.0;
    QTest::newRow("half") << qint64(5) << qint64(10) << 0.5;
    QTest::newRow("the largest") << qint64(10) << qint64(10) << 1.0;
    QTest::newRow("clean tab") << qint64(0) << qint64(0) << 0.0;
    QTest::newRow("above the largest is capped") << qint64(12) << qint64(10) << 1.0;
    QTest::newRow("negative") << qint64(-3) << qint64(10) << 0.0;
    QTest::newRow("word counter at its top") << qint64(65535) << qint64(65535) << 1.0;
}

void TestSpindleWheel::shadeAgainstTheLargest() {
    QFETCH(qint64, count);
    QFETCH(qint64, largest);
    QFETCH(double, shade);
    QCOMPARE(spindlewheel::shade(count, largest), shade);
}

void TestSpindleWheel::mostTripsNamesTheWorstSpindles_data() {
    QTest::addColumn<QVector<int>>("setting"); // pairs: count index, count
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("largest");

    QTest::newRow("clean") << QVector<int>{} << "Most trips: none" << qint64(0);
    QTest::newRow("one spindle") << QVector<int>{4, 2} << "Most trips: 5 (2)" << qint64(2);
    QTest::newRow("both sides add up") << QVector<int>{8, 20, 32, 6, 22, 25, 1, 24}
                                       << "Most trips: 9 (26), 23 (25), 2 (24)" << qint64(25);
    QTest::newRow("ties in spindle order, three at most")
        << QVector<int>{22, 26, 8, 26, 25, 26, 0, 26} << "Most trips: 1 (26), 2 (26), 9 (26)"
        << qint64(26);
    QTest::newRow("grouped digits")
        << QVector<int>{0, 1200} << "Most trips: 1 (1,200)" << qint64(1200);
}

void TestSpindleWheel::mostTripsNamesTheWorstSpindles() {
    QFETCH(QVector<int>, setting);
    QFETCH(QString, text);
    QFETCH(qint64, largest);
    TripCounts counts{};
    for (int i = 0; i + 1 < setting.size(); i += 2)
        counts[setting[i]] = setting[i + 1];
    QCOMPARE(mostTripsText(counts), text);
    QCOMPARE(largestCount(counts), largest);
}

void TestSpindleWheel::arrowKeysWalkTheWheel_data() {
    QTest::addColumn<Segment>("from");
    QTest::addColumn<int>("move");
    QTest::addColumn<Segment>("to");

    QTest::newRow("next") << Segment{1, Side::Drive} << int(Move::Next) << Segment{2, Side::Drive};
    QTest::newRow("next past 24") << Segment{24, Side::Off} << int(Move::Next)
                                  << Segment{1, Side::Off};
    QTest::newRow("previous before 1")
        << Segment{1, Side::Drive} << int(Move::Previous) << Segment{24, Side::Drive};
    QTest::newRow("outward") << Segment{9, Side::Drive} << int(Move::Outward)
                             << Segment{9, Side::Off};
    QTest::newRow("outward at the rim stays")
        << Segment{9, Side::Off} << int(Move::Outward) << Segment{9, Side::Off};
    QTest::newRow("inward") << Segment{9, Side::Off} << int(Move::Inward)
                            << Segment{9, Side::Drive};
}

void TestSpindleWheel::arrowKeysWalkTheWheel() {
    QFETCH(Segment, from);
    QFETCH(int, move);
    QFETCH(Segment, to);
    QCOMPARE(moved(from, Move(move)), to);
}

QTEST_GUILESS_MAIN(TestSpindleWheel)
#include "tst_spindlewheel.moc"
