// Where the timing chart shades a channel: the dwell of ON and OFF setpoints
// within one revolution, wrapping past its end when OFF is below ON.
#include "timingchart.h"

#include <QTest>

Q_DECLARE_METATYPE(QVector<DwellSpan>)

class TestTimingChart : public QObject {
    Q_OBJECT

private slots:
    void dwellSpans_data();
    void dwellSpans();
    void drawsAtDoubleScale();
};

void TestTimingChart::dwellSpans_data() {
    QTest::addColumn<int>("on");
    QTest::addColumn<int>("off");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QVector<DwellSpan>>("spans");
    using Spans = QVector<DwellSpan>;
    QTest::newRow("print trip 120..160") << 120 << 160 << 360 << Spans{{120, 160}};
    QTest::newRow("can clock 180 -> 0 runs to the end") << 180 << 0 << 360 << Spans{{180, 360}};
    QTest::newRow("varnish 315 -> 40 wraps") << 315 << 40 << 360 << Spans{{315, 360}, {0, 40}};
    QTest::newRow("ON at 0") << 0 << 180 << 360 << Spans{{0, 180}};
    QTest::newRow("last position ON") << 359 << 1 << 360 << Spans{{359, 360}, {0, 1}};
    QTest::newRow("ON equals OFF: never on") << 90 << 90 << 360 << Spans{};
    QTest::newRow("no revolution") << 10 << 20 << 0 << Spans{};
    QTest::newRow("setpoint beyond a smaller scale") << 100 << 300 << 200 << Spans{{100, 200}};
    QTest::newRow("both beyond the scale") << 250 << 300 << 200 << Spans{};
    QTest::newRow("negative ON from the document") << -5 << 10 << 360 << Spans{{0, 10}};
}

void TestTimingChart::dwellSpans() {
    QFETCH(int, on);
    QFETCH(int, off);
    QFETCH(int, scale);
    QFETCH(QVector<DwellSpan>, spans);
    QCOMPARE(::dwellSpans(on, off, scale), spans);
}

void TestTimingChart::drawsAtDoubleScale() {
    TimingChart chart({QStringLiteral("CH00"), QStringLiteral("CH10")});
    QFont font = chart.font();
    const QSize normal = chart.sizeHint();
    font.setPointSizeF(font.pointSizeF() * 2);
    chart.setFont(font);
    // The chart grows with its text, so names and axis labels stay legible.
    QVERIFY(chart.sizeHint().height() > normal.height() * 3 / 2);
    chart.setRow(0, 315, 40);
    chart.setPosition(100);
    chart.resize(chart.sizeHint());
    const QImage image = chart.grab().toImage();
    QVERIFY(!image.isNull());
    // The wrapped dwell is shaded at both ends of row 0, not in the middle;
    // row 1 (not known) has no dwell at all.
    const QColor highlight = chart.palette().color(QPalette::Highlight);
    const auto shadedColumns = [&](int fromX, int toX) {
        int columns = 0;
        for (int x = fromX; x < toX; ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(x, y) == highlight) {
                    ++columns;
                    break;
                }
        return columns;
    };
    const int w = image.width();
    QVERIFY(shadedColumns(w * 9 / 10, w) > 0);           // 315 .. 359 near the right end
    QVERIFY(shadedColumns(w * 4 / 10, w * 6 / 10) == 0); // 144 .. 216: off
}

QTEST_MAIN(TestTimingChart)
#include "tst_timingchart.moc"
