#include "speedtrendchart.h"

#include "speedtrend.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// The speed axis runs to the next multiple of this above the fastest
// reading, so a steady speed is not drawn on the frame.
constexpr int kSpeedStep = 200;

} // namespace

SpeedTrendChart::SpeedTrendChart(const SpeedTrend& trend, QWidget* parent)
    : LiveChart({40, 9}, {20, 6}, parent), m_trend(trend) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("Machine CPM over the last hour"));
}

void SpeedTrendChart::showAt(qint64 nowMs) {
    const auto latest = m_trend.latest();
    const qint64 latestAt = latest ? latest->atMs : -1;
    if (nowMs / 1000 == m_nowMs / 1000 && latestAt == m_latestAtMs)
        return;
    m_nowMs = nowMs;
    m_latestAtMs = latestAt;
    if (latest)
        setAccessibleDescription(
            QStringLiteral("Latest: %1 CPM at %2")
                .arg(latest->cpm)
                .arg(QLocale().toString(QDateTime::fromMSecsSinceEpoch(latest->atMs).time(),
                                        QLocale::ShortFormat)));
    update();
}

void SpeedTrendChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool grey = drawnGrey();
    const QColor ink =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    const QColor lineColour = grey ? QColor(0x90, 0x90, 0x90) : QColor(0x00, 0x50, 0xd0);
    const QColor grid = grey ? QColor(0xe0, 0xe0, 0xe0) : QColor(0xd8, 0xd8, 0xe8);
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    const QLocale locale;

    const auto runs = m_trend.runs(m_nowMs);
    qint32 fastest = 0;
    for (const auto& run : runs)
        for (const auto& sample : run)
            fastest = std::max(fastest, sample.cpm);
    const int top = (fastest / kSpeedStep + 1) * kSpeedStep;

    const double axis = metrics.horizontalAdvance(QStringLiteral("00000")) + 6;
    const QRectF plot(axis, line / 2.0, width() - axis - 2 * line, height() - 2.0 * line);
    if (plot.width() < 20 || plot.height() < 20)
        return;
    const SpeedTrend::Window window = m_trend.window(m_nowMs);
    const qint64 startMs = m_nowMs - window.spanMs;
    auto x = [&](qint64 atMs) {
        return plot.left() + plot.width() * double(atMs - startMs) / double(window.spanMs);
    };
    auto y = [&](qint32 cpm) { return plot.bottom() - plot.height() * double(cpm) / double(top); };

    // Speed axis: 0, half and the top; time marks on round times of the clock.
    painter.setPen(QPen(grid, 1));
    for (int cpm : {0, top / 2, top}) {
        painter.drawLine(QPointF(plot.left(), y(cpm)), QPointF(plot.right(), y(cpm)));
        painter.setPen(ink);
        painter.drawText(QRectF(0, y(cpm) - line / 2.0, plot.left() - 4, line),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(cpm));
        painter.setPen(QPen(grid, 1));
    }
    // Marks on round times of the local clock: counted from local midnight.
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(m_nowMs);
    const qint64 midnight = QDateTime(now.date(), QTime(0, 0)).toMSecsSinceEpoch();
    const qint64 tickMs = window.tickMs;
    const QString tickFormat =
        tickMs < 60000 ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm");
    qint64 tick = midnight + (startMs - midnight) / tickMs * tickMs;
    while (tick < startMs)
        tick += tickMs;
    for (; tick <= m_nowMs; tick += tickMs) {
        painter.setPen(QPen(grid, 1));
        painter.drawLine(QPointF(x(tick), plot.top()), QPointF(x(tick), plot.bottom()));
        painter.setPen(ink);
        const QString label = QDateTime::fromMSecsSinceEpoch(tick).time().toString(tickFormat);
        painter.drawText(QRectF(x(tick) - 40, plot.bottom() + 2, 80, line), Qt::AlignCenter, label);
    }
    painter.setPen(QPen(ink, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    painter.setPen(QPen(lineColour, 1.5));
    for (const auto& run : runs) {
        if (run.size() == 1) {
            painter.drawPoint(QPointF(x(run.first().atMs), y(run.first().cpm)));
            continue;
        }
        QPainterPath path(QPointF(x(run.first().atMs), y(run.first().cpm)));
        for (const auto& sample : run)
            path.lineTo(x(sample.atMs), y(sample.cpm));
        painter.drawPath(path);
    }

    const auto latest = m_trend.latest();
    if (latest && latest->atMs >= startMs && latest->atMs <= m_nowMs) {
        const QPointF at(x(latest->atMs), y(latest->cpm));
        painter.setBrush(lineColour);
        painter.drawEllipse(at, 3.5, 3.5);
        // The value sits left of the mark, above it unless the mark is at the top.
        painter.setPen(ink);
        const QString value = QStringLiteral("%1 CPM").arg(locale.toString(latest->cpm));
        const double textWidth = metrics.horizontalAdvance(value) + 4;
        const double textTop = at.y() - line - 4 < plot.top() ? at.y() + 4 : at.y() - line - 4;
        painter.drawText(QRectF(at.x() - textWidth - 2, textTop, textWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter, value);
    }

    markOffline(painter, plot);
}
