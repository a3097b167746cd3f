#include "livechart.h"

#include <QPainter>

LiveChart::LiveChart(QSize hintLines, QSize minimumLines, QWidget* parent)
    : QWidget(parent), m_hintLines(hintLines), m_minimumLines(minimumLines) {}

void LiveChart::setOffline(bool offline) {
    if (offline == m_offline)
        return;
    m_offline = offline;
    update();
}

QSize LiveChart::sizeHint() const {
    return m_hintLines * fontMetrics().height();
}

QSize LiveChart::minimumSizeHint() const {
    return m_minimumLines * fontMetrics().height();
}

void LiveChart::markOffline(QPainter& painter, const QRectF& area) const {
    if (!m_offline)
        return;
    QFont big = font();
    big.setPointSizeF(font().pointSizeF() * 2);
    big.setBold(true);
    painter.setFont(big);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("offline"));
}
