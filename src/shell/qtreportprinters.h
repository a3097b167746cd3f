#pragma once

#include "reportprinters.h"

class QWidget;

// The report's printers as QPrinter jobs, its preview as the toolkit's
// print preview dialog.
class QtReportPrinters : public ReportPrinters {
public:
    explicit QtReportPrinters(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    std::unique_ptr<ReportJob> openJob(const Prompts::PrintDialog& choice,
                                       const QString& title) override;
    void preview(const QString& title,
                 const std::function<void(QPagedPaintDevice&)>& draw) override;

private:
    QWidget* m_parent = nullptr;
};
