#include "timingchart.h"

#include <QPainter>
#include <QPaintEvent>

#include <algorithm>

QVector<DwellSpan> dwellSpans(int on, int off, int scale) {
    if (scale <= 0)
        return {};
    on = std::clamp(on, 0, scale);
    off = std::clamp(off, 0, scale);
    if (on == off)
        return {};
    if (on < off)
        return {{on, off}};
    QVector<DwellSpan> spans;
    if (on < scale)
        spans.append({on, scale});
    if (off > 0)
        spans.append({0, off});
    return spans;
}

TimingChart::TimingChart(const QStringList& rowNames, QWidget* parent) : QWidget(parent) {
    for (const QString& name : rowNames)
        m_rows.append({name, std::nullopt, std::nullopt});
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void TimingChart::setScale(int scale) {
    if (scale == m_scale)
        return;
    m_scale = scale;
    update();
}

void TimingChart::setRow(int row, std::optional<int> on, std::optional<int> off) {
    Row& r = m_rows[row];
    if (r.on == on && r.off == off)
        return;
    r.on = on;
    r.off = off;
    update();
}

void TimingChart::setPosition(std::optional<int> position) {
    if (position == m_position)
        return;
    m_position = position;
    update();
}

int TimingChart::rowHeight() const {
    return fontMetrics().height() * 3 / 2;
}

QSize TimingChart::sizeHint() const {
    const int rows = static_cast<int>(m_rows.size()) + 2; // rows, axis and cursor label
    return {fontMetrics().horizontalAdvance(QLatin1Char('0')) * 60, rows * rowHeight()};
}

QSize TimingChart::minimumSizeHint() const {
    const QSize hint = sizeHint();
    return {hint.width() / 2, hint.height()};
}

void TimingChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = rowHeight();
    const int gap = metrics.horizontalAdvance(QLatin1Char('0'));
    const int left = metrics.horizontalAdvance(QStringLiteral("CH00")) + 2 * gap;
    const int right = width() - 2 * gap;
    const int top = lineHeight; // room for the axis labels
    if (right <= left || m_scale <= 0)
        return;
    const double span = right - left;
    const auto xOf = [&](int position) {
        return left + static_cast<int>(span * position / m_scale + 0.5);
    };

    const QPalette& colours = palette();
    const QColor dwellColour =
        colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Highlight);
    painter.setPen(colours.color(QPalette::WindowText));

    // Axis: quarter revolutions, labelled with the position.
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const int position = quarter == 4 ? m_scale : m_scale * quarter / 4;
        const int x = xOf(position);
        const QString label = QString::number(quarter == 4 ? m_scale - 1 : position);
        const int labelWidth = metrics.horizontalAdvance(label);
        const int labelX = std::clamp(x - labelWidth / 2, left, right - labelWidth);
        painter.drawText(labelX, metrics.ascent(), label);
        painter.setPen(QPen(colours.color(QPalette::Mid), 1, Qt::DotLine));
        painter.drawLine(x, top, x, top + lineHeight * static_cast<int>(m_rows.size()));
        painter.setPen(colours.color(QPalette::WindowText));
    }

    const int barHeight = metrics.height();
    for (int i = 0; i < m_rows.size(); ++i) {
        const Row& row = m_rows.at(i);
        const int y = top + i * lineHeight + (lineHeight - barHeight) / 2;
        painter.drawText(gap, y + metrics.ascent(), row.name);
        const QRect bar(left, y, right - left, barHeight);
        if (!row.on || !row.off) {
            painter.fillRect(bar, QBrush(colours.color(QPalette::Mid), Qt::BDiagPattern));
        } else {
            for (const DwellSpan& dwell : dwellSpans(*row.on, *row.off, m_scale))
                painter.fillRect(QRect(QPoint(xOf(dwell.start), y),
                                       QPoint(xOf(dwell.end) - 1, y + barHeight - 1)),
                                 dwellColour);
        }
        painter.setPen(colours.color(QPalette::WindowText));
        painter.drawRect(bar.adjusted(0, 0, -1, -1));
    }

    if (m_position && *m_position >= 0 && *m_position < m_scale) {
        const int x = xOf(*m_position);
        const int bottom = top + lineHeight * static_cast<int>(m_rows.size());
        painter.setPen(QPen(Qt::red, std::max(2, gap / 4)));
        painter.drawLine(x, top, x, bottom);
        const QString label = QString::number(*m_position);
        const int labelWidth = metrics.horizontalAdvance(label);
        painter.drawText(std::clamp(x - labelWidth / 2, left, right - labelWidth),
                         bottom + metrics.ascent() + 2, label);
    }
}
