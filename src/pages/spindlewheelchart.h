#pragma once

#include "livechart.h"
#include "spindlewheel.h"

#include <optional>

// The mandrel wheel beside a tab's spindle tables: one segment per spindle
// and side, shaded by its trip count against the tab's largest, with a
// legend and the three spindles with the most trips beneath. It only draws
// what the page hands it (the values its fields show) and repaints only when
// one of them changed; it never talks to the board.
//
// Offline the wheel is drawn in greys with "offline" across it, so the
// document's copy never looks like live counts. The keyboard reaches it:
// the arrow keys walk the segments, and the segment's tooltip text is the
// wheel's accessible description.
class SpindleWheelChart : public LiveChart {
    Q_OBJECT

public:
    explicit SpindleWheelChart(QWidget* parent = nullptr);

    void setCount(int countIndex, qint64 count);
    // The spindle the board reports as just tripped (outlined); none: no outline.
    void setTripped(std::optional<int> spindle);

    const spindlewheel::TripCounts& counts() const { return m_counts; }
    std::optional<int> tripped() const { return m_tripped; }
    spindlewheel::Segment currentSegment() const { return m_current; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Frame {
        QPointF centre;
        double radius = 0;
        QRectF rings; // which ring is which side
        QRectF legend;
        QRectF mostTrips;
    };
    Frame frame() const;
    QColor fill(double shade) const;
    void describeCurrent();

    spindlewheel::TripCounts m_counts{};
    std::optional<int> m_tripped;
    spindlewheel::Segment m_current;
};
