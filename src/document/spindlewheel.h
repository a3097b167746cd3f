#pragma once

#include <QPointF>
#include <QString>

#include <array>
#include <optional>

// The decorator's mandrel wheel as the shift data page draws it: 24 spindles
// in a ring, spindle 1 at the top and the numbers going clockwise as the
// wheel carries them past the operator. Each spindle has two trip counters,
// one per side of the machine; the drive side is drawn as the inner ring and
// the off side as the outer ring. Everything here is plain arithmetic on a
// wheel of radius 1 so it can be checked without a window.
namespace spindlewheel {

constexpr int kSpindles = 24;
constexpr int kSegments = 2 * kSpindles;

enum class Side { Drive, Off };

// Trip counts of one tab: drive side spindles 1..24, then off side 1..24,
// in the order the page's tables show them.
using TripCounts = std::array<qint64, kSegments>;

struct Segment {
    int spindle = 1; // 1..24
    Side side = Side::Drive;
    bool operator==(const Segment& other) const {
        return spindle == other.spindle && side == other.side;
    }
};

// Where a segment is drawn: an annular sector. Angles in degrees as QPainter
// takes them (0 at three o'clock, counter-clockwise positive); the span is
// negative because spindles follow each other clockwise. Radii are fractions
// of the wheel's radius.
struct Sector {
    double startAngle = 0;
    double spanAngle = 0;
    double innerRadius = 0;
    double outerRadius = 0;
};

Sector sector(const Segment& segment);
// Where the segment's number is written: its middle, on a wheel of radius 1
// centred on the origin, y growing downwards as on the screen.
QPointF labelCentre(const Segment& segment);
// The segment under a point of the same unit wheel; none in the hub, between
// the rings or outside the wheel.
std::optional<Segment> segmentAt(const QPointF& point);

// Index of a segment in TripCounts and back.
int countIndex(const Segment& segment);
Segment segmentOf(int countIndex);

// How dark a segment is drawn, 0 (no trips) to 1 (the tab's largest count).
// A tab without trips, or a negative count, gives 0.
double shade(qint64 count, qint64 largest);
qint64 largestCount(const TripCounts& counts);

// The spindles with the most trips on both sides together, most first (ties
// in spindle order), at most three, spindles without trips left out:
// "Most trips: 9 (26), 23 (26), 2 (26)"; "Most trips: none" on a clean tab.
QString mostTripsText(const TripCounts& counts);

// The segment's tooltip, also its accessible description:
// "Spindle 9, drive side: 26 trips".
QString describe(const Segment& segment, qint64 count);

// The segment the arrow keys move to: left and right step to the previous
// and next spindle on the same ring (round the wheel), up goes to the outer
// ring and down to the inner one.
enum class Move { Previous, Next, Outward, Inward };
Segment moved(const Segment& from, Move move);

} // namespace spindlewheel
