#include "reportrenderer.h"

#include "appstate.h"
#include "pdfreportjob.h"
#include "reportjob.h"
#include "reporttask.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>

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

namespace {

// A paged device someone else owns and ends, such as the preview's printer.
class DeviceJob : public ReportJob {
public:
    explicit DeviceJob(QPagedPaintDevice& device) : m_device(device) {}
    bool isFile() const override { return false; }
    QString target() const override { return {}; }
    QPagedPaintDevice* device() override { return &m_device; }
    bool finish() override { return true; }

private:
    QPagedPaintDevice& m_device;
};

} // namespace

QString reportDateText() {
    return generalDateText(QDateTime::currentDateTime(), QLocale());
}

bool renderReport(QPagedPaintDevice& device, const SetupDocument& document,
                  const QString& documentName) {
    DeviceJob job(device);
    ReportTask task(job, document, documentName, reportDateText());
    return task.runToEnd();
}

QPageSize defaultReportPageSize() {
    return QLocale().measurementSystem() == QLocale::MetricSystem ? QPageSize(QPageSize::A4)
                                                                  : QPageSize(QPageSize::Letter);
}

QString writeReportPdf(const QString& path, const SetupDocument& document,
                       const QString& documentName, const QPageSize& pageSize) {
    PdfReportJob job(path, QStringLiteral("VRAL Report: ") + documentName, pageSize);
    ReportTask task(job, document, documentName, reportDateText());
    task.runToEnd();
    return task.failureText();
}
