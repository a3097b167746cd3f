#pragma once

#include "frmwaitdisplay.h"
#include "prompts.h"

#include <QPointer>

#include <memory>

class QPageSize;
class ReportJob;
class ReportPrinters;
class ReportTask;
class TaskRunner;
struct CommandContext;

// File > "&Print Report...", "Print Pre&view..." and "&Export Report as
// PDF...": the set-up report of the current document on a printer, on
// screen or in a PDF file, the same drawing everywhere.
class ReportCommands {
public:
    ReportCommands(CommandContext& context, ReportPrinters& printers);
    ~ReportCommands();

    void printReport();
    void printPreview();
    void exportPdf();

    // A report is being generated (the wait window is up).
    bool isRunning() const { return m_runner != nullptr; }
    frmWaitDisplay* waitWindow() const { return m_wait; }

private:
    // ReportMode 1, the wait window, then the pages one step at a time.
    void generate(std::unique_ptr<ReportJob> job);
    void generated();
    QString title() const;

    CommandContext& m_context;
    ReportPrinters& m_printers;
    // The printer chosen last time: the dialog proposes it again.
    Prompts::PrintDialog m_printer;
    std::unique_ptr<ReportJob> m_job;
    std::unique_ptr<ReportTask> m_task;
    std::unique_ptr<TaskRunner> m_runner;
    QPointer<frmWaitDisplay> m_wait;
};
