#include "spindlewheel.h"

#include <QLocale>
#include <QTest>

#include <cmath>

using namespace spindlewheel;
using Hit = std::optional<Segment>;
using Trips = QVector<int>; // pairs: count index, count

Q_DECLARE_METATYPE(spindlewheel::Segment)
Q_DECLARE_METATYPE(spindlewheel::Move)
Q_DECLARE_METATYPE(std::optional<spindlewheel::Segment>)

namespace {

Segment drive(int spindle) {
    return {spindle, Side::Drive};
}
Segment off(int spindle) {
    return {spindle, Side::Off};
}

} // namespace

class TestSpindleWheel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void segmentsGoClockwiseFromTheTop_data() {
        QTest::addColumn<Segment>("segment");
        QTest::addColumn<int>("countIndex");
        QTest::addColumn<double>("centreAngle"); // degrees, counter-clockwise from three o'clock
        QTest::addColumn<QString>("description");
        QTest::newRow("twelve") << drive(1) << 0 << 90.0 << "Spindle 1, drive side: 3 trips";
        QTest::newRow("three") << off(7) << 30 << 0.0 << "Spindle 7, off side: 3 trips";
        QTest::newRow("six") << drive(13) << 12 << -90.0 << "Spindle 13, drive side: 3 trips";
        QTest::newRow("left of twelve")
            << off(24) << 47 << 105.0 << "Spindle 24, off side: 3 trips";
    }
    void segmentsGoClockwiseFromTheTop() {
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
            QVERIFY(s.outerRadius < sector(off(segment.spindle)).innerRadius);
        QCOMPARE(spindlewheel::countIndex(segment), countIndex);
        QCOMPARE(segmentOf(countIndex), segment);
        // The number's place lies in its own segment, so hover and drawing agree.
        QCOMPARE(segmentAt(labelCentre(segment)), Hit(segment));
        QCOMPARE(describe(segment, 3), description);
    }

    void pointsOffTheRingsHitNothing_data() {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<Hit>("hit");
        QTest::newRow("hub") << QPointF(0, 0) << Hit();
        QTest::newRow("between the rings") << QPointF(0, -0.70) << Hit();
        QTest::newRow("outside") << QPointF(0.8, -0.8) << Hit();
        QTest::newRow("just right of twelve, outer") << QPointF(0.05, -0.9) << Hit(off(1));
        QTest::newRow("just left of twelve, inner") << QPointF(-0.1, -0.5) << Hit(drive(24));
        QTest::newRow("nine o'clock, outer") << QPointF(-0.9, 0) << Hit(off(19));
    }
    void pointsOffTheRingsHitNothing() {
        QFETCH(QPointF, point);
        QFETCH(Hit, hit);
        QCOMPARE(segmentAt(point), hit);
    }

    void shadeAgainstTheLargest_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("largest");
        QTest::addColumn<double>("shade");
        QTest::newRow("no trips") << 0 << 10 << 0.0;
        QTest::newRow("half") << 5 << 10 << 0.5;
        QTest::newRow("the largest") << 10 << 10 << 1.0;
        QTest::newRow("clean tab") << 0 << 0 << 0.0;
        QTest::newRow("above the largest is capped") << 12 << 10 << 1.0;
        QTest::newRow("negative") << -3 << 10 << 0.0;
        QTest::newRow("word counter at its top") << 65535 << 65535 << 1.0;
    }
    void shadeAgainstTheLargest() {
        QFETCH(int, count);
        QFETCH(int, largest);
        QFETCH(double, shade);
        QCOMPARE(spindlewheel::shade(count, largest), shade);
    }

    void mostTripsNamesTheWorstSpindles_data() {
        QTest::addColumn<Trips>("setting");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("largest");
        QTest::newRow("clean") << Trips{} << "Most trips: none" << 0;
        QTest::newRow("one spindle") << Trips{4, 2} << "Most trips: 5 (2)" << 2;
        QTest::newRow("both sides add up")
            << Trips{8, 20, 32, 6, 22, 25, 1, 24} << "Most trips: 9 (26), 23 (25), 2 (24)" << 25;
        QTest::newRow("ties in spindle order, top three")
            << Trips{22, 26, 8, 26, 25, 26, 0, 26} << "Most trips: 1 (26), 2 (26), 9 (26)" << 26;
        QTest::newRow("grouped digits") << Trips{0, 1200} << "Most trips: 1 (1,200)" << 1200;
    }
    void mostTripsNamesTheWorstSpindles() {
        QFETCH(Trips, setting);
        QFETCH(QString, text);
        QFETCH(int, largest);
        TripCounts counts{};
        for (int i = 0; i + 1 < setting.size(); i += 2)
            counts[setting[i]] = setting[i + 1];
        QCOMPARE(mostTripsText(counts), text);
        QCOMPARE(largestCount(counts), largest);
    }

    void arrowKeysWalkTheWheel_data() {
        QTest::addColumn<Segment>("from");
        QTest::addColumn<Move>("move");
        QTest::addColumn<Segment>("to");
        QTest::newRow("next") << drive(1) << Move::Next << drive(2);
        QTest::newRow("next past 24") << off(24) << Move::Next << off(1);
        QTest::newRow("previous before 1") << drive(1) << Move::Previous << drive(24);
        QTest::newRow("outward") << drive(9) << Move::Outward << off(9);
        QTest::newRow("outward at the rim stays") << off(9) << Move::Outward << off(9);
        QTest::newRow("inward") << off(9) << Move::Inward << drive(9);
    }
    void arrowKeysWalkTheWheel() {
        QFETCH(Segment, from);
        QFETCH(Move, move);
        QFETCH(Segment, to);
        QCOMPARE(moved(from, move), to);
    }
};

QTEST_GUILESS_MAIN(TestSpindleWheel)
#include "tst_spindlewheel.moc"
