#pragma once

#include <QVector>

#include <array>
#include <optional>

// The machine's speed over the last hour as the main display read it, for
// the trend under its counters. Readings arrive as fast as the link answers;
// at most one a second is kept, in a ring of an hour's worth (3,600 samples
// of 16 bytes, about 56 kB), so the trend costs the same after a week as
// after a minute.
//
// Where nothing was read (the page closed, the link down) the trend must
// show a gap, not a line across the silence: a run of samples ends where the
// caller says the readings stopped, and wherever two samples lie more than
// kGapMs apart.
class SpeedTrend {
public:
    static constexpr qint64 kSpanMs = 60 * 60 * 1000;
    static constexpr qint64 kMinimumSpacingMs = 1000;
    static constexpr int kCapacity = static_cast<int>(kSpanMs / kMinimumSpacingMs);
    static constexpr qint64 kGapMs = 5000;

    struct Sample {
        qint64 atMs = 0; // milliseconds since the epoch (UTC)
        qint32 cpm = 0;
        bool startsRun = false; // nothing was read just before it
        bool operator==(const Sample& other) const {
            return atMs == other.atMs && cpm == other.cpm && startsRun == other.startsRun;
        }
    };

    // A reading of machine CPM at atMs. Within a second of the last kept
    // sample it is dropped; a reading from before the last one (the clock was
    // set back) starts the trend afresh. True when it was kept.
    bool add(qint64 atMs, qint32 cpm);
    // The readings stopped: the next sample starts a new run.
    void interrupt() { m_interrupted = true; }

    // The stretch of time the trend shows and the spacing of its time marks.
    // A fresh trend is not squeezed into the corner of an hour: the window
    // is the shortest of 2, 5, 10, 15, 30 and 60 minutes that holds every
    // sample of the hour up to nowMs.
    struct Window {
        qint64 spanMs = 0;
        qint64 tickMs = 0;
        bool operator==(const Window& other) const {
            return spanMs == other.spanMs && tickMs == other.tickMs;
        }
    };
    Window window(qint64 nowMs) const;

    // The samples of the hour up to nowMs, oldest first, split into runs
    // that are drawn as joined lines.
    QVector<QVector<Sample>> runs(qint64 nowMs) const;
    std::optional<Sample> latest() const;
    int size() const { return m_count; }

private:
    const Sample& at(int i) const { return m_ring[(m_first + i) % kCapacity]; }

    std::array<Sample, kCapacity> m_ring{};
    int m_first = 0;
    int m_count = 0;
    bool m_interrupted = true;
};
