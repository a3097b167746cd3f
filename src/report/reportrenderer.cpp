#include "reportrenderer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

PaintDeviceMetrics::PaintDeviceMetrics(QPaintDevice* device) : m_device(device) {}

QFont PaintDeviceMetrics::font(ReportFont which) const {
    int size = 12;
    bool bold = false;
    switch (which) {
    case ReportFont::Body:
        break;
    case ReportFont::Heading:
    case ReportFont::Section:
        size = 14;
        bold = true;
        break;
    case ReportFont::Header:
        bold = true;
        break;
    case ReportFont::Footer:
        size = 10;
        break;
    }
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Times);
    f.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman"),
                   QStringLiteral("Times")});
    f.setPointSize(size);
    f.setBold(bold);
    return f;
}

double PaintDeviceMetrics::width(ReportFont which, const QString& text) const {
    return QFontMetricsF(font(which), m_device).horizontalAdvance(text) / m_device->logicalDpiX();
}

double PaintDeviceMetrics::lineHeight(ReportFont which) const {
    return QFontMetricsF(font(which), m_device).height() / m_device->logicalDpiY();
}

bool renderReport(QPagedPaintDevice& device, const SetupDocument& document,
                  const QString& documentName) {
    PaintDeviceMetrics metrics(&device);
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Inch);
    ReportSetting setting;
    setting.documentName = documentName;
    setting.pageInches = area.size();
    setting.dateText = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    const QVector<ReportPage> pages = layoutReport(document, setting, metrics);

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double dpiX = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        for (const ReportText& text : pages[i].texts) {
            const QFont font = metrics.font(text.font);
            painter.setFont(font);
            const double ascent = QFontMetricsF(font, &device).ascent();
            painter.drawText(QPointF(text.x * dpiX, text.y * dpiY + ascent), text.text);
        }
        for (const ReportRule& rule : pages[i].rules)
            painter.drawLine(QPointF(rule.x1 * dpiX, rule.y * dpiY),
                             QPointF(rule.x2 * dpiX, rule.y * dpiY));
    }
    return painter.end();
}

QString writeReportPdf(const QString& path, const SetupDocument& document,
                       const QString& documentName, const QPageSize& pageSize) {
    QPdfWriter writer(path);
    writer.setPageSize(pageSize);
    writer.setResolution(1200);
    writer.setTitle(QStringLiteral("VRAL Report: ") + documentName);
    if (!renderReport(writer, document, documentName))
        return QStringLiteral("The PDF file could not be written.");
    if (!QFileInfo(path).isFile())
        return QStringLiteral("The PDF file could not be written.");
    return {};
}
