#include "spindlewheelchart.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>

using namespace spindlewheel;

namespace {

QPainterPath sectorPath(const QPointF& centre, double radius, const Sector& s, double inner,
                        double outer) {
    const QRectF outerBox(centre.x() - outer * radius, centre.y() - outer * radius,
                          2 * outer * radius, 2 * outer * radius);
    const QRectF innerBox(centre.x() - inner * radius, centre.y() - inner * radius,
                          2 * inner * radius, 2 * inner * radius);
    QPainterPath path;
    path.arcMoveTo(outerBox, s.startAngle);
    path.arcTo(outerBox, s.startAngle, s.spanAngle);
    path.arcTo(innerBox, s.startAngle + s.spanAngle, -s.spanAngle);
    path.closeSubpath();
    return path;
}

} // namespace

SpindleWheelChart::SpindleWheelChart(QWidget* parent) : LiveChart({16, 19}, {12, 12}, parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("Spindle wheel"));
    describeCurrent();
}

void SpindleWheelChart::setCount(int countIndex, qint64 count) {
    if (m_counts[countIndex] == count)
        return;
    m_counts[countIndex] = count;
    if (countIndex == spindlewheel::countIndex(m_current))
        describeCurrent();
    update();
}

void SpindleWheelChart::setTripped(std::optional<int> spindle) {
    if (spindle && (*spindle < 1 || *spindle > kSpindles))
        spindle.reset();
    if (spindle == m_tripped)
        return;
    m_tripped = spindle;
    update();
}

SpindleWheelChart::Frame SpindleWheelChart::frame() const {
    // The wheel with three lines of text: which ring is which, the legend's
    // bar with its scale, the spindles with the most trips. Beneath the
    // wheel where there is height to spare, beside it where there is width.
    const double line = fontMetrics().height();
    const double textWidth = 16 * line;
    const double textHeight = 5.2 * line;
    Frame f;
    QPointF text;
    if (width() - height() >= textWidth) {
        f.radius = std::max(0.0, height() - 4.0) / 2;
        f.centre = QPointF(2 + f.radius, height() / 2.0);
        text = QPointF(4 + 2 * f.radius + line, (height() - textHeight) / 2);
    } else {
        f.radius = std::max(0.0, std::min<double>(width(), height() - textHeight) - 4) / 2;
        f.centre = QPointF(width() / 2.0, 2 + f.radius);
        text = QPointF((width() - textWidth) / 2, 4 + 2 * f.radius + 0.5 * line);
    }
    f.rings = QRectF(text.x(), text.y(), textWidth, 1.2 * line);
    f.legend = QRectF(text.x() + 4 * line, f.rings.bottom() + 0.4 * line, textWidth - 8 * line,
                      0.8 * line);
    f.mostTrips = QRectF(text.x(), f.legend.bottom() + 0.8 * line, textWidth, 1.2 * line);
    return f;
}

QColor SpindleWheelChart::fill(double shade) const {
    // White to dark red live; light to dark grey offline or while the page is held.
    const bool grey = drawnGrey();
    const QColor from = grey ? QColor(0xf0, 0xf0, 0xf0) : QColor(0xff, 0xff, 0xff);
    const QColor to = grey ? QColor(0x70, 0x70, 0x70) : QColor(0xa8, 0x00, 0x00);
    auto mix = [shade](int a, int b) { return static_cast<int>(a + (b - a) * shade + 0.5); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

void SpindleWheelChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Frame f = frame();
    if (f.radius < 10)
        return;
    const qint64 largest = largestCount(m_counts);
    const QColor ink =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    const QColor edge = isOffline() ? QColor(0x90, 0x90, 0x90) : QColor(0x50, 0x50, 0x50);

    QFont numberFont = font();
    numberFont.setPointSizeF(std::clamp(f.radius / 14, 6.0, font().pointSizeF()));
    painter.setFont(numberFont);
    for (int i = 0; i < kSegments; ++i) {
        const Segment segment = segmentOf(i);
        const Sector s = sector(segment);
        const double value = shade(m_counts[i], largest);
        painter.setPen(QPen(edge, 1));
        painter.setBrush(fill(value));
        painter.drawPath(sectorPath(f.centre, f.radius, s, s.innerRadius, s.outerRadius));
        painter.setPen(value > 0.55 ? QColor(Qt::white) : ink);
        const QPointF at = f.centre + labelCentre(segment) * f.radius;
        painter.drawText(QRectF(at.x() - 20, at.y() - 10, 40, 20), Qt::AlignCenter,
                         QString::number(segment.spindle));
    }
    painter.setFont(font());

    painter.setBrush(Qt::NoBrush);
    if (m_tripped && !isOffline()) {
        // The whole spindle, both sides, as the board named it.
        Sector s = sector({*m_tripped, Side::Drive});
        painter.setPen(QPen(QColor(0x00, 0x50, 0xd0), 3));
        painter.drawPath(sectorPath(f.centre, f.radius, s, s.innerRadius, 1.0));
    }
    if (hasFocus()) {
        const Sector s = sector(m_current);
        QPen pen(ink, 2, Qt::DotLine);
        painter.setPen(pen);
        painter.drawPath(sectorPath(f.centre, f.radius, s, s.innerRadius, s.outerRadius));
    }

    painter.setPen(ink);
    painter.drawText(f.rings, Qt::AlignCenter,
                     QStringLiteral("Inner ring: drive side, outer: off side"));

    // Legend: the scale from no trips to the tab's largest count.
    QLinearGradient gradient(f.legend.topLeft(), f.legend.topRight());
    gradient.setColorAt(0, fill(0));
    gradient.setColorAt(1, fill(1));
    painter.setPen(QPen(edge, 1));
    painter.setBrush(gradient);
    painter.drawRect(f.legend);
    painter.setPen(ink);
    const double line = fontMetrics().height();
    const QRectF scale(f.rings.left(), f.legend.top() - 0.2 * line, f.rings.width(),
                       f.legend.height() + 0.4 * line);
    painter.drawText(scale, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("0 trips"));
    painter.drawText(scale, Qt::AlignRight | Qt::AlignVCenter, QLocale().toString(largest));
    painter.drawText(f.mostTrips, Qt::AlignCenter, mostTripsText(m_counts));

    markOffline(painter, QRectF(0, f.centre.y() - f.radius, width(), 2 * f.radius));
}

bool SpindleWheelChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Frame f = frame();
        const auto segment =
            f.radius > 0 ? segmentAt((QPointF(help->pos()) - f.centre) / f.radius) : std::nullopt;
        if (segment)
            QToolTip::showText(help->globalPos(),
                               describe(*segment, m_counts[countIndex(*segment)]), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void SpindleWheelChart::keyPressEvent(QKeyEvent* event) {
    Move move;
    switch (event->key()) {
    case Qt::Key_Left:
        move = Move::Previous;
        break;
    case Qt::Key_Right:
        move = Move::Next;
        break;
    case Qt::Key_Up:
        move = Move::Outward;
        break;
    case Qt::Key_Down:
        move = Move::Inward;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    m_current = moved(m_current, move);
    describeCurrent();
    const Frame f = frame();
    const QPointF at = f.centre + labelCentre(m_current) * f.radius;
    QToolTip::showText(mapToGlobal(at.toPoint()), accessibleDescription(), this);
    update();
}

void SpindleWheelChart::describeCurrent() {
    setAccessibleDescription(describe(m_current, m_counts[countIndex(m_current)]));
}
