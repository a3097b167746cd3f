#pragma once

#include "livechart.h"

class SpeedTrend;

// The trend of machine CPM over the last hour under the main display's
// counters (a shorter stretch while less has been recorded): time along
// the bottom in local time, speed up the side, each run
// of readings a line (a gap where nothing was read), the latest reading
// marked with its value. It draws the trend the page records and never
// talks to the board. Offline it is drawn in grey with "offline" across it.
class SpeedTrendChart : public LiveChart {
    Q_OBJECT

public:
    SpeedTrendChart(const SpeedTrend& trend, QWidget* parent = nullptr);

    // The trend as of nowMs (milliseconds since the epoch); repaints only
    // when the second or the latest sample changed.
    void showAt(qint64 nowMs);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SpeedTrend& m_trend;
    qint64 m_nowMs = 0;
    qint64 m_latestAtMs = -1;
};
