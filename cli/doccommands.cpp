#include "doccommands.h"

#include "appstate.h"
#include "cliprompts.h"
#include "commandtable.h"
#include "documentcommands.h"
#include "documentjson.h"
#include "exitstatus.h"
#include "setupfile.h"
#include "shiftexport.h"
#include "systemclock.h"

#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

namespace {

// Answers the file dialogs of Open and Export with the paths given on the
// command line and the version question with Yes (the user named the file);
// everything else is printed like any other box.
class FileCommandPrompts : public CliPrompts {
public:
    FileCommandPrompts(QString openPath, QString savePath)
        : CliPrompts(0), m_openPath(std::move(openPath)), m_savePath(std::move(savePath)) {}

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   DefaultButton defaultButton = DefaultButton::First) override {
        const Answer answer = CliPrompts::message(title, text, icon, buttons, defaultButton);
        return buttons == Buttons::YesNoCancel ? Answer::Yes : answer;
    }
    std::optional<QString> openFile(const FileDialog&) override { return m_openPath; }
    std::optional<QString> saveFile(const FileDialog&) override { return m_savePath; }

private:
    QString m_openPath;
    QString m_savePath;
};

void reportError(const QString& file, const QString& reason) {
    QTextStream(stderr) << file << ": " << reason << Qt::endl;
}

} // namespace

int runDocNew(const QString& file) {
    const SetupFileResult result = writeSetupFile(file, makeDefaultDocument(programVersionText()));
    if (!result.ok()) {
        reportError(file, result.errorText);
        return ExitFileError;
    }
    return ExitOk;
}

int runDocShow(const QString& file, QTextStream& out) {
    const SetupFileReadResult result = readSetupFile(file);
    if (!result.ok()) {
        reportError(file, result.errorText);
        return ExitFileError;
    }
    out << QJsonDocument(documentToJson(result.document)).toJson(QJsonDocument::Indented);
    out.flush();
    return ExitOk;
}

int runDocExportShift(const QString& file, const QString& out) {
    AppState state;
    state.InitDefaultDocument();
    SystemClock clock;
    FileCommandPrompts prompts(file, out);
    DocumentCommands commands(state, prompts, clock);
    commands.open();
    if (state.DocumentUntitled)
        return ExitFileError; // not adopted: the reason was printed
    return exportShiftData(state, prompts) ? ExitOk : ExitFileError;
}

int runDoc(CliSession&, const QStringList& args, QTextStream& out) {
    const QString verb = args.value(0);
    if (verb == QLatin1String("new") && args.size() == 2)
        return runDocNew(args[1]);
    if (verb == QLatin1String("show") && args.size() == 2)
        return runDocShow(args[1], out);
    if (verb == QLatin1String("export-shift") && args.size() == 3)
        return runDocExportShift(args[1], args[2]);
    return CliCommand::kBadArguments;
}
