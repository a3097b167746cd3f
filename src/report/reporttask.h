#pragma once

#include "reportlayout.h"
#include "reportrenderer.h"
#include "steptask.h"

#include <QPainter>

#include <memory>

class ReportJob;

// Draws the report on a job's device, one page per step, so the wait window
// stays drawn while a long report goes to the printer. The pages are laid out
// in the first step, from the document as it is then.
class ReportTask : public StepTask {
public:
    enum class Failure {
        None,
        Open,   // the printer or file could not be opened
        Page,   // a page could not be started
        Finish, // the job could not be completed (ended, spooled, saved)
    };

    ReportTask(ReportJob& job, const SetupDocument& document, const QString& documentName,
               const QString& dateText);
    ~ReportTask() override;

    bool step() override;
    int progress() const override { return m_pagesDrawn; }
    int progressMaximum() const override { return sheetCount(); }
    QString statusText() const override;

    bool ended() const { return m_ended; }
    Failure failure() const { return m_failure; }
    int pageCount() const { return m_pages.size(); }
    // The report's pages times the copies drawn on the device.
    int sheetCount() const { return m_pages.size() * m_copies; }
    // Pages completely drawn, and so handed to the printer or file (every
    // copy counted).
    int pagesDrawn() const { return m_pagesDrawn; }
    // What failed, as a sentence naming the printer or file; empty when
    // nothing did.
    QString failureText() const;

    // Runs every step at once (vralctl, the preview).
    bool runToEnd();

private:
    bool begin();
    void drawPage(const ReportPage& page);
    bool end(Failure failure);

    ReportJob& m_job;
    const SetupDocument& m_document;
    QString m_documentName;
    QString m_dateText;
    QVector<ReportPage> m_pages;
    std::unique_ptr<PaintDeviceMetrics> m_metrics;
    QPainter m_painter;
    bool m_begun = false;
    bool m_ended = false;
    int m_pagesDrawn = 0;
    int m_copies = 1;
    Failure m_failure = Failure::None;
};
