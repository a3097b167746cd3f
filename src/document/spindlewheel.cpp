#include "spindlewheel.h"

#include <QLocale>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace spindlewheel {

namespace {

constexpr double kSpindleDegrees = 360.0 / kSpindles;
// The rings, as fractions of the wheel's radius; the hub holds the legend's
// title and the gap between the rings keeps the two sides apart.
constexpr double kDriveInner = 0.42;
constexpr double kDriveOuter = 0.69;
constexpr double kOffInner = 0.71;
constexpr double kOffOuter = 1.0;
constexpr int kNamed = 3;

// Spindle 1 is centred at twelve o'clock.
double centreAngle(int spindle) {
    return 90.0 - (spindle - 1) * kSpindleDegrees;
}

} // namespace

Sector sector(const Segment& segment) {
    const bool drive = segment.side == Side::Drive;
    return {centreAngle(segment.spindle) + kSpindleDegrees / 2, -kSpindleDegrees,
            drive ? kDriveInner : kOffInner, drive ? kDriveOuter : kOffOuter};
}

QPointF labelCentre(const Segment& segment) {
    const Sector s = sector(segment);
    const double radius = (s.innerRadius + s.outerRadius) / 2;
    const double angle = qDegreesToRadians(centreAngle(segment.spindle));
    return {radius * std::cos(angle), -radius * std::sin(angle)};
}

std::optional<Segment> segmentAt(const QPointF& point) {
    const double radius = std::hypot(point.x(), point.y());
    Side side;
    if (radius >= kDriveInner && radius <= kDriveOuter)
        side = Side::Drive;
    else if (radius >= kOffInner && radius <= kOffOuter)
        side = Side::Off;
    else
        return std::nullopt;
    // Clockwise from twelve o'clock, shifted by half a spindle so that each
    // spindle's sector starts at 0.
    double clockwise = qRadiansToDegrees(std::atan2(point.x(), -point.y())) + kSpindleDegrees / 2;
    clockwise = std::fmod(clockwise + 360.0, 360.0);
    const int spindle = std::min(kSpindles - 1, static_cast<int>(clockwise / kSpindleDegrees)) + 1;
    return Segment{spindle, side};
}

int countIndex(const Segment& segment) {
    return (segment.side == Side::Off ? kSpindles : 0) + segment.spindle - 1;
}

Segment segmentOf(int countIndex) {
    return {countIndex % kSpindles + 1, countIndex < kSpindles ? Side::Drive : Side::Off};
}

double shade(qint64 count, qint64 largest) {
    if (largest <= 0 || count <= 0)
        return 0;
    return std::min(1.0, static_cast<double>(count) / static_cast<double>(largest));
}

qint64 largestCount(const TripCounts& counts) {
    return std::max<qint64>(0, *std::max_element(counts.begin(), counts.end()));
}

QString mostTripsText(const TripCounts& counts) {
    std::array<std::pair<qint64, int>, kSpindles> totals{};
    for (int s = 0; s < kSpindles; ++s)
        totals[s] = {counts[s] + counts[kSpindles + s], s + 1};
    std::stable_sort(totals.begin(), totals.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList named;
    const QLocale locale;
    for (int i = 0; i < kNamed && totals[i].first > 0; ++i)
        named << QStringLiteral("%1 (%2)")
                     .arg(totals[i].second)
                     .arg(locale.toString(totals[i].first));
    return QStringLiteral("Most trips: ") +
           (named.isEmpty() ? QStringLiteral("none") : named.join(QStringLiteral(", ")));
}

QString describe(const Segment& segment, qint64 count) {
    return QStringLiteral("Spindle %1, %2 side: %3 %4")
        .arg(segment.spindle)
        .arg(segment.side == Side::Drive ? QStringLiteral("drive") : QStringLiteral("off"))
        .arg(QLocale().toString(count))
        .arg(count == 1 ? QStringLiteral("trip") : QStringLiteral("trips"));
}

Segment moved(const Segment& from, Move move) {
    switch (move) {
    case Move::Previous:
        return {(from.spindle + kSpindles - 2) % kSpindles + 1, from.side};
    case Move::Next:
        return {from.spindle % kSpindles + 1, from.side};
    case Move::Outward:
        return {from.spindle, Side::Off};
    case Move::Inward:
        return {from.spindle, Side::Drive};
    }
    return from;
}

} // namespace spindlewheel
