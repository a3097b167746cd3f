#include "pdfreportjob.h"

#include <QPdfWriter>

namespace {
// Fine enough that text positions on the page are exact to a hundredth of a point.
constexpr int kPdfDpi = 1200;
} // namespace

PdfReportJob::PdfReportJob(const QString& path, const QString& title, const QPageSize& pageSize)
    : m_file(path) {
    if (!m_file.open(QIODevice::WriteOnly))
        return;
    m_writer = std::make_unique<QPdfWriter>(&m_file);
    m_writer->setPageSize(pageSize);
    m_writer->setResolution(kPdfDpi);
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("VRAL"));
}

PdfReportJob::~PdfReportJob() = default;

QPagedPaintDevice* PdfReportJob::device() {
    return m_writer.get();
}

bool PdfReportJob::finish() {
    return m_writer && m_file.commit();
}
