#include "documentcommands.h"

#include "appstate.h"
#include "clock.h"
#include "setupfile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kTitle = QStringLiteral("VRAL");
const QString kFilter = QStringLiteral("Setup Files(*.sdt)|*.sdt|");

QString fileTitle(const QString& path) {
    return QFileInfo(path).fileName();
}

QString failureText(const QString& what, const QString& path, const QString& reason) {
    return what + QStringLiteral("\r\n") + QDir::toNativeSeparators(path) +
           QStringLiteral("\r\n\r\n") + reason;
}

bool documentChanged(const AppState& state) {
    if (state.CurrentDocument.Version != state.ProgramVersion)
        return true;
    // The saved copy may carry another release's version; that difference is
    // the one above, every other member must match.
    SetupDocument current = state.CurrentDocument;
    current.Version = state.SavedDocument.Version;
    return current != state.SavedDocument;
}

} // namespace

DocumentCommands::DocumentCommands(AppState& state, Prompts& prompts, Clock& clock, QObject* parent)
    : QObject(parent), m_state(state), m_prompts(prompts), m_clock(clock) {}

std::optional<Prompts::Answer> DocumentCommands::PromptSaveChanges() {
    if (!documentChanged(m_state))
        return std::nullopt;
    return m_prompts.message(kTitle, QStringLiteral("Save Changes to File?"),
                             Prompts::Icon::Exclamation, Prompts::Buttons::YesNoCancel);
}

bool DocumentCommands::settleUnsavedChanges() {
    const std::optional<Prompts::Answer> answer = PromptSaveChanges();
    if (answer == Prompts::Answer::Cancel)
        return false;
    if (answer == Prompts::Answer::Yes)
        return save();
    return true;
}

void DocumentCommands::newDocument() {
    if (!settleUnsavedChanges())
        return;
    m_state.CurrentDocument = m_state.DefaultDocument;
    m_state.SavedDocument = m_state.CurrentDocument;
    m_state.DocumentUntitled = true;
    m_state.DocumentOpened = true;
    setCaption(QStringLiteral("[unnamed]"));
}

void DocumentCommands::open() {
    // No to the version question starts the command over, save question included.
    for (;;) {
        if (!settleUnsavedChanges())
            return;

        Prompts::FileDialog dialog;
        dialog.title = QStringLiteral("Open Set-up File");
        dialog.filter = kFilter;
        dialog.fileName = m_state.gFileNamePath;
        dialog.mustExist = true;
        const std::optional<QString> path = m_prompts.openFile(dialog);
        if (!path)
            return;

        const SetupFileReadResult read = readSetupFile(*path);
        if (!read.ok()) {
            m_prompts.message(kTitle,
                              failureText(QStringLiteral("Could not open the set-up file:"), *path,
                                          read.errorText),
                              Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
            return;
        }
        m_state.gUploadNOW = generalDateText(m_clock.now());

        Prompts::Answer answer = Prompts::Answer::Yes;
        if (read.document.Version != m_state.ProgramVersion)
            answer = m_prompts.message(
                kTitle,
                QStringLiteral("File created by set-up program version: ") + read.document.Version +
                    QStringLiteral("\r\nData tables may not be properly aligned.\r\n\r\n"
                                   "Do you wish to continue?"),
                Prompts::Icon::Information, Prompts::Buttons::YesNoCancel);
        if (answer == Prompts::Answer::No)
            continue;
        if (answer == Prompts::Answer::Yes)
            ApplyLoadedDocument(read.document, *path);
        m_state.DocumentOpened = true;
        return;
    }
}

void DocumentCommands::ApplyLoadedDocument(SetupDocument loaded, const QString& path) {
    loaded.fitTables();
    m_state.CurrentDocument = loaded;
    m_state.SavedDocument = m_state.CurrentDocument;
    m_state.DocumentUntitled = false;
    m_state.gFileNamePath = path;
    m_state.gFileNameTitle = fileTitle(path);
    setCaption(QStringLiteral("[") + m_state.gFileNameTitle + QStringLiteral("]"));
}

bool DocumentCommands::save() {
    if (m_state.DocumentUntitled)
        return saveAs();

    SetupDocument document = m_state.CurrentDocument;
    document.Version = m_state.ProgramVersion;
    const SetupFileResult written = writeSetupFile(m_state.gFileNamePath, document);
    if (!written.ok()) {
        m_prompts.message(kTitle,
                          failureText(QStringLiteral("Could not save the set-up file:"),
                                      m_state.gFileNamePath, written.errorText),
                          Prompts::Icon::Critical, Prompts::Buttons::Ok);
        return false;
    }
    m_state.CurrentDocument = document;
    setCaption(QStringLiteral("[") + m_state.gFileNameTitle + QStringLiteral("]"));
    m_state.SavedDocument = m_state.CurrentDocument;
    return true;
}

bool DocumentCommands::saveAs() {
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Save Set-up File As");
    dialog.filter = kFilter;
    // A name typed without an extension still makes a set-up file Open finds.
    dialog.defaultSuffix = QStringLiteral("sdt");
    dialog.overwritePrompt = true;
    const std::optional<QString> path = m_prompts.saveFile(dialog);
    if (!path)
        return false;

    // A save that fails must not leave the document named after a file that
    // was never written: the old name comes back.
    const bool wasUntitled = m_state.DocumentUntitled;
    const QString oldPath = m_state.gFileNamePath;
    const QString oldTitle = m_state.gFileNameTitle;
    m_state.DocumentUntitled = false;
    m_state.gFileNamePath = *path;
    m_state.gFileNameTitle = fileTitle(*path);
    if (save())
        return true;
    m_state.DocumentUntitled = wasUntitled;
    m_state.gFileNamePath = oldPath;
    m_state.gFileNameTitle = oldTitle;
    return false;
}

void DocumentCommands::setCaption(const QString& caption) {
    m_state.gFileNameCaption = caption;
    emit captionChanged();
}
