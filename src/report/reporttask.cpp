#include "reporttask.h"

#include "reportjob.h"

#include <QFontMetricsF>

#include <algorithm>
#include <QPagedPaintDevice>

ReportTask::ReportTask(ReportJob& job, const SetupDocument& document, const QString& documentName,
                       const QString& dateText)
    : m_job(job), m_document(document), m_documentName(documentName), m_dateText(dateText) {}

ReportTask::~ReportTask() {
    if (m_painter.isActive())
        m_painter.end();
}

bool ReportTask::begin() {
    QPagedPaintDevice* device = m_job.device();
    if (!device)
        return end(Failure::Open);
    m_metrics = std::make_unique<PaintDeviceMetrics>(device);
    ReportSetting setting;
    setting.documentName = m_documentName;
    setting.pageInches = device->pageLayout().paintRect(QPageLayout::Inch).size();
    setting.dateText = m_dateText;
    m_pages = layoutReport(m_document, setting, *m_metrics);
    m_copies = std::max(1, m_job.copiesToDraw());
    if (!m_painter.begin(device))
        return end(Failure::Open);
    m_begun = true;
    return true;
}

bool ReportTask::step() {
    if (m_ended)
        return false;
    if (!m_begun && !begin())
        return false;
    if (m_pagesDrawn == sheetCount()) {
        const bool painted = m_painter.end();
        const bool handedOn = painted && m_job.finish();
        return end(handedOn ? Failure::None : Failure::Finish);
    }
    if (m_pagesDrawn > 0 && !m_job.device()->newPage())
        return end(Failure::Page);
    drawPage(m_pages[m_pagesDrawn % m_pages.size()]);
    ++m_pagesDrawn;
    return true;
}

void ReportTask::drawPage(const ReportPage& page) {
    QPaintDevice* device = m_painter.device();
    const double dpiX = device->logicalDpiX();
    const double dpiY = device->logicalDpiY();
    for (const ReportText& text : page.texts) {
        const QFont font = m_metrics->font(text.font);
        m_painter.setFont(font);
        // The layout places a text by its top; the painter by its baseline.
        const double ascent = QFontMetricsF(font, device).ascent();
        m_painter.drawText(QPointF(text.x * dpiX, text.y * dpiY + ascent), text.text);
    }
    for (const ReportRule& rule : page.rules)
        m_painter.drawLine(QPointF(rule.x1 * dpiX, rule.y * dpiY),
                           QPointF(rule.x2 * dpiX, rule.y * dpiY));
}

bool ReportTask::end(Failure failure) {
    if (m_painter.isActive())
        m_painter.end();
    m_failure = failure;
    m_ended = true;
    return false;
}

bool ReportTask::runToEnd() {
    while (step()) {
    }
    return m_failure == Failure::None;
}

QString ReportTask::statusText() const {
    return QStringLiteral("Page %1 of %2").arg(m_pagesDrawn).arg(sheetCount());
}

QString ReportTask::failureText() const {
    const bool file = m_job.isFile();
    QString what;
    switch (m_failure) {
    case Failure::None:
        return {};
    case Failure::Open:
        what = file ? QStringLiteral("the file could not be created")
                    : QStringLiteral("the printer could not be opened");
        break;
    case Failure::Page:
        what = QStringLiteral("page %1 of %2 could not be started")
                   .arg(m_pagesDrawn + 1)
                   .arg(sheetCount());
        break;
    case Failure::Finish:
        what = file ? QStringLiteral("the file could not be saved")
                    : QStringLiteral("the print job could not be completed");
        break;
    }
    QString text = file ? QStringLiteral("The report could not be written to \"%1\": %2.")
                        : QStringLiteral("The report could not be printed on \"%1\": %2.");
    text = text.arg(m_job.target(), what);
    if (!file && m_pagesDrawn > 0)
        text += QStringLiteral("\r\n\r\n%1 of %2 pages had already gone to the printer; "
                               "they are not withdrawn.")
                    .arg(m_pagesDrawn)
                    .arg(sheetCount());
    return text;
}
