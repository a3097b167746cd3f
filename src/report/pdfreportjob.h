#pragma once

#include "reportjob.h"

#include <QPageSize>
#include <QSaveFile>

#include <memory>

class QPdfWriter;

// The report as a PDF file. The pages go to a temporary file beside the
// target, which replaces the target only once the whole report is in it, so
// a failed write leaves an earlier file of that name as it was.
class PdfReportJob : public ReportJob {
public:
    PdfReportJob(const QString& path, const QString& title, const QPageSize& pageSize);
    ~PdfReportJob() override;

    bool isFile() const override { return true; }
    QString target() const override { return m_file.fileName(); }
    QPagedPaintDevice* device() override;
    bool finish() override;

private:
    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
};
