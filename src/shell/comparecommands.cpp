#include "comparecommands.h"

#include "appstate.h"
#include "boardreadback.h"
#include "commandcontext.h"
#include "frmcompare.h"
#include "processingrun.h"
#include "prompts.h"
#include "rscomm.h"
#include "setupfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {
const QString kFilter = QStringLiteral("Setup Files(*.sdt)|*.sdt|");
} // namespace

CompareCommands::CompareCommands(CommandContext& context, QObject* parent)
    : QObject(parent), m_context(context) {
    setObjectName(QStringLiteral("compareCommands"));
}

CompareCommands::~CompareCommands() = default;

void CompareCommands::addEntries(QMenu* file) {
    file->addSeparator();
    QAction* board = file->addAction(QStringLiteral("Compare with &Board..."));
    board->setObjectName(QStringLiteral("mnuFileCompareBoard"));
    connect(board, &QAction::triggered, this, &CompareCommands::compareWithBoard);
    QAction* other = file->addAction(QStringLiteral("Compare with &File..."));
    other->setObjectName(QStringLiteral("mnuFileCompareFile"));
    connect(other, &QAction::triggered, this, &CompareCommands::compareWithFile);
}

void CompareCommands::compareWithBoard() {
    // The progress window is modal; a stray second call must not replace it.
    if (m_reading || !offerToGoOnline(m_context))
        return;
    m_reading = std::make_unique<ProcessingRun<BoardReadback>>(
        m_context, QStringLiteral("while the board is read for a comparison"),
        m_context.state.CurrentDocument, m_context.link, m_context.prompts);
    startProcessingRun(m_reading, this, [this] {
        if (m_reading->task.completed())
            show(m_reading->task.document(), QStringLiteral("Board"),
                 QStringLiteral("The document ") + m_context.state.gFileNameCaption +
                     QStringLiteral(" beside the board's memory as it was read just now."));
    });
}

void CompareCommands::compareWithFile() {
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Compare with Set-up File");
    dialog.filter = kFilter;
    dialog.fileName = m_context.state.gFileNamePath;
    dialog.mustExist = true;
    const std::optional<QString> path = m_context.prompts.openFile(dialog);
    if (!path)
        return;
    SetupFileReadResult read = readSetupFile(*path);
    if (!read.ok()) {
        m_context.prompts.message(QStringLiteral("Compare with File"),
                                  QStringLiteral("Could not open the set-up file:\r\n") +
                                      QDir::toNativeSeparators(*path) + QStringLiteral("\r\n\r\n") +
                                      read.errorText,
                                  Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    read.document.fitTables();
    show(read.document, QStringLiteral("File"),
         QStringLiteral("The document ") + m_context.state.gFileNameCaption +
             QStringLiteral(" beside the file [") + QFileInfo(*path).fileName() +
             QStringLiteral("]."));
}

void CompareCommands::show(const SetupDocument& other, const QString& rightCaption,
                           const QString& subject) {
    delete m_shown;
    m_shown = new frmCompare(compareDocuments(m_context.state.CurrentDocument, other), rightCaption,
                             subject, m_context.prompts, m_context.window);
    m_shown->setAttribute(Qt::WA_DeleteOnClose);
    m_shown->show();
}

frmProcessing* CompareCommands::processingWindow() const {
    return m_reading ? &m_reading->window : nullptr;
}

frmCompare* CompareCommands::comparisonWindow() const {
    return m_shown;
}
