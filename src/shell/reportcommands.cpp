#include "reportcommands.h"

#include "appstate.h"
#include "commandcontext.h"
#include "filesetpaths.h"
#include "frmwaitdisplay.h"
#include "pdfreportjob.h"
#include "reportprinters.h"
#include "reportrenderer.h"
#include "reporttask.h"
#include "taskrunner.h"

#include <QDir>
#include <QPageSize>

ReportCommands::ReportCommands(CommandContext& context, ReportPrinters& printers)
    : m_context(context), m_printers(printers) {}

ReportCommands::~ReportCommands() {
    delete m_wait;
}

QString ReportCommands::title() const {
    return QStringLiteral("VRAL Report: ") + m_context.state.gFileNameCaption;
}

void ReportCommands::printReport() {
    if (isRunning())
        return;
    const std::optional<Prompts::PrintDialog> choice = m_context.prompts.printSetup(m_printer);
    if (!choice)
        return; // Cancel: nothing to say
    m_printer = *choice;
    generate(m_printers.openJob(m_printer, title()));
}

void ReportCommands::printPreview() {
    if (isRunning())
        return;
    const QString name = m_context.state.gFileNameCaption;
    const SetupDocument& document = m_context.state.CurrentDocument;
    m_printers.preview(title(), [&document, name](QPagedPaintDevice& device) {
        renderReport(device, document, name);
    });
}

void ReportCommands::exportPdf() {
    if (isRunning())
        return;
    const AppState& state = m_context.state;
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Export Report as PDF");
    dialog.filter = QStringLiteral("PDF Files(*.pdf)|*.pdf|");
    dialog.defaultSuffix = QStringLiteral("pdf");
    dialog.fileName = state.DocumentUntitled || state.gFileNamePath.isEmpty()
                          ? QStringLiteral("Report.pdf")
                          : ChangeExtension(state.gFileNamePath, QStringLiteral("pdf"));
    dialog.overwritePrompt = true;
    const std::optional<QString> path = m_context.prompts.saveFile(dialog);
    if (!path)
        return;
    generate(std::make_unique<PdfReportJob>(*path, title(), defaultReportPageSize()));
}

void ReportCommands::generate(std::unique_ptr<ReportJob> job) {
    AppState& state = m_context.state;
    m_job = std::move(job);
    m_task = std::make_unique<ReportTask>(*m_job, state.CurrentDocument, state.gFileNameCaption,
                                          reportDateText());
    state.ReportMode = 1;
    m_wait = new frmWaitDisplay(state.ReportMode, m_context.window);
    m_wait->showCentred();
    m_runner = std::make_unique<TaskRunner>(m_context.link, *m_task);
    // Queued: the runner's step has returned before it is torn down.
    QObject::connect(
        m_runner.get(), &TaskRunner::finished, m_wait, [this] { generated(); },
        Qt::QueuedConnection);
    m_runner->start();
}

void ReportCommands::generated() {
    m_runner.reset();
    m_wait->hide();
    m_wait->deleteLater();
    m_wait = nullptr;
    m_context.state.ReportMode = 0;
    const QString failure = m_task->failureText();
    m_task.reset();
    m_job.reset(); // a printer job is handed to the spooler here
    if (!failure.isEmpty())
        m_context.prompts.message(QStringLiteral("VRAL"), failure, Prompts::Icon::Exclamation,
                                  Prompts::Buttons::Ok);
}
