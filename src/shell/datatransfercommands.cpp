#include "datatransfercommands.h"

#include "appstate.h"
#include "clock.h"
#include "commandcontext.h"
#include "datatransfer.h"
#include "frmprocessing.h"
#include "pausedpagecycles.h"
#include "prompts.h"
#include "taskrunner.h"

#include <QTimer>

namespace {
constexpr int kDownload = 10;
const QString kContinue = QStringLiteral("\r\n\r\nDo You Wish to Continue?");
} // namespace

// One transfer with its runner and window, for as long as it runs.
struct DataTransferCommands::Running {
    Running(CommandContext& context, int kind)
        : transfer(context.state, context.link, context.prompts, kind),
          runner(context.link, transfer),
          window(
              runner, [this] { transfer.cancel(); }, context.window) {}

    DataTransfer transfer;
    TaskRunner runner;
    frmProcessing window;
    // The pages behind the window wait; the status poll goes on.
    std::unique_ptr<PausedPageCycles> paused;
};

DataTransferCommands::DataTransferCommands(CommandContext& context) : m_context(context) {}

DataTransferCommands::~DataTransferCommands() = default;

void DataTransferCommands::Upload(int kind) {
    const Prompts::Answer answer = m_context.prompts.message(
        QStringLiteral("Data Upload"),
        QStringLiteral("You are about to Upload Data from the PLC") + kContinue,
        Prompts::Icon::Question, Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes)
        return;
    m_context.state.gUploadNOW = generalDateText(m_context.clock.now());
    RunDataTransfer(kind);
}

void DataTransferCommands::Download(int kind) {
    const Prompts::Answer answer = m_context.prompts.message(
        QStringLiteral("Data Download"),
        QStringLiteral("You are about to Download Data to the PLC") + kContinue,
        Prompts::Icon::Question, Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes)
        return;
    RunDataTransfer(kind + kDownload);
}

void DataTransferCommands::RunDataTransfer(int kind) {
    // The progress window is modal: a second transfer cannot be asked for
    // while one runs, but a stray call must not replace the running one.
    if (m_running || !DataTransfer::isTransferKind(kind))
        return;
    if (!offerToGoOnline(m_context))
        return;

    m_context.state.TransferKind = kind;
    auto paused = std::make_unique<PausedPageCycles>(
        m_context,
        kind >= kDownload ? QStringLiteral("while data is downloaded")
                          : QStringLiteral("while data is uploaded"),
        PausedPageCycles::StatusPoll::Runs);
    m_running = std::make_unique<Running>(m_context, kind);
    m_running->paused = std::move(paused);
    QObject::connect(&m_running->runner, &TaskRunner::finished, &m_anchor, [this] {
        m_running->paused.reset();
        // The runner is still inside its own signal: it goes on the next turn.
        QTimer::singleShot(0, &m_anchor, [this] { m_running.reset(); });
    });
    m_running->window.show();
}

DataTransfer* DataTransferCommands::runningTransfer() const {
    return m_running ? &m_running->transfer : nullptr;
}

frmProcessing* DataTransferCommands::processingWindow() const {
    return m_running ? &m_running->window : nullptr;
}
