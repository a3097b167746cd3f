#pragma once

#include "prompts.h"
#include "setupdocument.h"

#include <QObject>

#include <optional>

struct AppState;
class Clock;

// File > New, Open, Save, Save As and the unsaved-changes question, on the
// shared application state. No widgets: dialogs go through Prompts.
class DocumentCommands : public QObject {
    Q_OBJECT
public:
    DocumentCommands(AppState& state, Prompts& prompts, Clock& clock, QObject* parent = nullptr);

    // Yes/No/Cancel when the document changed, nullopt when no question was needed.
    // Changed means: the version differs from this program's, or any other
    // member differs from the document as last created, opened or saved.
    std::optional<Prompts::Answer> PromptSaveChanges();
    void newDocument();
    void open();
    // Returns false when nothing was written (cancelled or failed). A failed
    // write is reported to the user and leaves the old file, the documents,
    // the file name and the caption as they were.
    bool save();
    bool saveAs();

    // Makes a document read from path the current and saved document: its
    // tables are fitted to this program's size, its version text is kept.
    void ApplyLoadedDocument(SetupDocument loaded, const QString& path);

signals:
    // gFileNameCaption changed: the window title must follow.
    void captionChanged();

private:
    // Asks about unsaved changes and saves when told to. False when the
    // command must stop: Cancel, or a save that was cancelled or failed.
    bool settleUnsavedChanges();
    void setCaption(const QString& caption);

    AppState& m_state;
    Prompts& m_prompts;
    Clock& m_clock;
};
