#pragma once

#include "reportlayout.h"

#include <QFont>
#include <QPageSize>

class QPagedPaintDevice;
class QPaintDevice;
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

// The footer's date and time: now, as a general date.
QString reportDateText();

// Lays the report out for the device's printable area and draws every page,
// starting a new page on the device between them (the print preview). False
// if the painter could not begin or a page could not be started.
bool renderReport(QPagedPaintDevice& device, const SetupDocument& document,
                  const QString& documentName);

// Letter where the locale measures in inches, A4 elsewhere.
QPageSize defaultReportPageSize();

// Writes the report as a PDF file with the title "VRAL Report: " + name. On
// failure returns the sentence naming the file and what failed; an earlier
// file of that name is then left as it was.
QString writeReportPdf(const QString& path, const SetupDocument& document,
                       const QString& documentName, const QPageSize& pageSize);
