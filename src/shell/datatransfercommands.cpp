#include "datatransfercommands.h"

#include "appstate.h"
#include "clock.h"
#include "commandcontext.h"
#include "datatransfer.h"
#include "processingrun.h"
#include "prompts.h"

namespace {
constexpr int kDownload = 10;
constexpr int kShiftKind = 2;
constexpr int kAllKind = 4;
const QString kCrLf2 = QStringLiteral("\r\n\r\n");
const QString kContinue = kCrLf2 + QStringLiteral("Do You Wish to Continue?");

// What a download of the entry's kind writes to the board, and from where.
QString downloadDetails(int kind, const QString& fileCaption) {
    static const QString parts[] = {
        QStringLiteral("The Set-up Parameters"), QStringLiteral("The Timing Channels"),
        QStringLiteral("The Shift Data"), QString(),
        QStringLiteral("All Data (Set-up Parameters, Shift Data and Timing Channels)")};
    QString text = parts[kind] + QStringLiteral(" of ") + fileCaption +
                   QStringLiteral(" will be written to the PLC.");
    // The board counts the running shift on: a download sets it back.
    if (kind == kShiftKind || kind == kAllKind)
        text += kCrLf2 + QStringLiteral("The PLC's running shift counters will be replaced by "
                                        "the document's.");
    return text;
}
} // namespace

DataTransferCommands::DataTransferCommands(CommandContext& context) : m_context(context) {}

DataTransferCommands::~DataTransferCommands() = default;

void DataTransferCommands::upload(int kind) {
    const Prompts::Answer answer = m_context.prompts.message(
        QStringLiteral("Data Upload"),
        QStringLiteral("You are about to Upload Data from the PLC") + kContinue,
        Prompts::Icon::Question, Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes)
        return;
    m_context.state.gUploadNOW = generalDateText(m_context.clock.now());
    RunDataTransfer(kind);
}

void DataTransferCommands::download(int kind) {
    if (kind >= kDownload || !DataTransfer::isTransferKind(kind))
        return;
    // Yes replaces what the board holds: Enter alone answers No.
    const Prompts::Answer answer = m_context.prompts.message(
        QStringLiteral("Data Download"),
        QStringLiteral("You are about to Download Data to the PLC") + kContinue + kCrLf2 +
            downloadDetails(kind, m_context.state.gFileNameCaption),
        Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::DefaultButton::No);
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
    m_running = std::make_unique<ProcessingRun<DataTransfer>>(
        m_context,
        kind >= kDownload ? QStringLiteral("while data is downloaded")
                          : QStringLiteral("while data is uploaded"),
        m_context.state, m_context.link, m_context.prompts, kind);
    startProcessingRun(m_running, &m_anchor);
}

DataTransfer* DataTransferCommands::runningTransfer() const {
    return m_running ? &m_running->task : nullptr;
}

frmProcessing* DataTransferCommands::processingWindow() const {
    return m_running ? &m_running->window : nullptr;
}
