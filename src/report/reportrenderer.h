#pragma once

#include "reportlayout.h"

#include <QFont>
#include <QPageSize>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
struct SetupDocument;

// The report's Times fonts measured on one paint device, in inches.
class PaintDeviceMetrics : public ReportMetrics {
public:
    explicit PaintDeviceMetrics(QPaintDevice* device);
    double width(ReportFont font, const QString& text) const override;
    double lineHeight(ReportFont font) const override;
    QFont font(ReportFont font) const;

private:
    QPaintDevice* m_device;
};

// Lays the report out for the device's printable area and draws every page,
// starting a new page on the device between them. Returns false if the
// painter could not begin or a new page could not be started.
bool renderReport(QPagedPaintDevice& device, const SetupDocument& document,
                  const QString& documentName);

// Writes the report as a PDF file; on failure returns the reason.
QString writeReportPdf(const QString& path, const SetupDocument& document,
                       const QString& documentName, const QPageSize& pageSize);
