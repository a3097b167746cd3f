#include "programcommands.h"

#include "commandcontext.h"
#include "dumpprogram.h"
#include "frmdownloadprog.h"
#include "onlinesession.h"
#include "pausedpagecycles.h"
#include "programfileset.h"
#include "prompts.h"
#include "rscomm.h"
#include "selectprogramfile.h"
#include "stepdriver.h"
#include "taskrunner.h"
#include "uploadprogram.h"

#include <QFileInfo>
#include <QTimer>
#include <QWidget>

namespace {

QString quotedFileName(const QString& path) {
    return QLatin1Char('"') + QFileInfo(path).fileName() + QLatin1Char('"');
}

} // namespace

// One transfer with its runner and window, for as long as it runs.
struct ProgramCommands::Running {
    Running(CommandContext& context, std::unique_ptr<StepTask> transfer)
        : task(std::move(transfer)), runner(context.link, *task),
          window(context.link, runner, context.window) {}

    std::unique_ptr<StepTask> task;
    TaskRunner runner;
    frmDownloadProg window;
    // The refresh cycles of the pages behind the window, paused meanwhile.
    std::unique_ptr<PausedPageCycles> paused;
};

ProgramCommands::ProgramCommands(CommandContext& context) : m_context(context) {}

ProgramCommands::~ProgramCommands() = default;

void ProgramCommands::downloadProgram() {
    if (m_running)
        return;
    const std::optional<QString> path = SelectProgramFile(m_context, ProgramFilePurpose::Download);
    if (!path)
        return;
    const Prompts::Answer answer = m_context.prompts.message(
        QStringLiteral("Program Download"),
        QStringLiteral("You are about to download ") + quotedFileName(*path) +
            QStringLiteral(" to the K7600.\r\n\r\nDo you wish to continue?"),
        Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::DefaultButton::No);
    if (answer != Prompts::Answer::Yes)
        return;
    run(std::make_unique<DumpProgram>(m_context.link), frmDownloadProg::kDownload, {});
}

void ProgramCommands::UploadProgram() {
    if (m_running || !offerToGoOnline(m_context))
        return;
    const std::optional<QString> path =
        askForProgramFile(m_context, QStringLiteral("Select Program File for the Upload"));
    if (!path)
        return;
    RSComm& link = m_context.link;
    link.UploadFile(*path);
    // The program file's board code names the memory to read; a file
    // without one (empty, unreadable: its box has been shown) names none.
    if (link.programFiles().BoardCode == 0)
        return;
    if (::UploadProgram::refuse(link.programFiles(), m_context.prompts))
        return;
    const Prompts::Answer answer = m_context.prompts.message(
        QStringLiteral("Program Upload"),
        QStringLiteral("You are about to upload the program in the K7600 into ") +
            quotedFileName(*path) +
            QStringLiteral(".\r\n\r\nIts revision, configuration and image files will be "
                           "replaced.\r\n\r\nDo you wish to continue?"),
        Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::DefaultButton::No);
    if (answer != Prompts::Answer::Yes)
        return;
    link.setInUploadMode(true);
    auto task = std::make_unique<::UploadProgram>(link);
    ::UploadProgram* upload = task.get();
    run(std::move(task), frmDownloadProg::kUpload, [upload] { upload->cancel(); });
}

void ProgramCommands::run(std::unique_ptr<StepTask> task, int mode, std::function<void()> cancel) {
    // No status read may fall between two records or in program mode, and
    // the page behind the modal window would only slow the transfer down
    // with reads of its own between the steps (an upload is one read per
    // program byte).
    auto paused = std::make_unique<PausedPageCycles>(
        m_context,
        mode == frmDownloadProg::kDownload ? QStringLiteral("while the program is downloaded")
                                           : QStringLiteral("while the program is uploaded"),
        PausedPageCycles::StatusPoll::Held);
    m_running = std::make_unique<Running>(m_context, std::move(task));
    m_running->paused = std::move(paused);
    m_running->window.SetTransferMode(mode);
    m_running->window.setCancel(std::move(cancel));
    QObject::connect(&m_running->runner, &TaskRunner::finished, &m_anchor,
                     [this] { transferEnded(); });
    m_running->window.show();
}

void ProgramCommands::transferEnded() {
    m_running->paused.reset();
    m_context.online.ApplyOnlineMode();
    // The runner is still inside its own signal: it goes on the next turn.
    QTimer::singleShot(0, &m_anchor, [this] { m_running.reset(); });
}

StepTask* ProgramCommands::runningTask() const {
    return m_running ? m_running->task.get() : nullptr;
}

frmDownloadProg* ProgramCommands::progressWindow() const {
    return m_running ? &m_running->window : nullptr;
}
