#pragma once

#include "prompts.h"

#include <functional>
#include <memory>

class QPagedPaintDevice;
class ReportJob;

// The system's printers as the report commands use them: the window layer
// implements them on the toolkit's printers and preview, tests with printers
// they script.
class ReportPrinters {
public:
    virtual ~ReportPrinters() = default;

    // A print job titled title on the printer chosen in the print set-up
    // dialog, with its copies, paper and orientation.
    virtual std::unique_ptr<ReportJob> openJob(const Prompts::PrintDialog& choice,
                                               const QString& title) = 0;
    // Shows the print preview titled title; draw paints the report on the
    // preview's device, as often as the preview asks.
    virtual void preview(const QString& title,
                         const std::function<void(QPagedPaintDevice&)>& draw) = 0;
};
