#include "transfercommands.h"

#include "appstate.h"
#include "clisession.h"
#include "commandtable.h"
#include "datatransfer.h"
#include "exitstatus.h"
#include "progressline.h"
#include "setupfile.h"
#include "stopsignals.h"
#include "taskrunner.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

constexpr int kDownload = 10;

// The transfer kind of an upload named on the command line, or -1.
int uploadKind(const QString& what) {
    if (what == QLatin1String("setup"))
        return 0;
    if (what == QLatin1String("timing"))
        return 1;
    if (what == QLatin1String("shift"))
        return 2;
    if (what == QLatin1String("all"))
        return 4;
    return -1;
}

void reportFileError(const QString& file, const QString& reason) {
    QTextStream(stderr) << file << ": " << reason << Qt::endl;
}

// Makes the document in file the current one, its tables fitted to this
// program's size. False (with the reason printed) when it cannot be read.
bool openDocument(AppState& state, const QString& file) {
    SetupFileReadResult read = readSetupFile(file);
    if (!read.ok()) {
        reportFileError(file, read.errorText);
        return false;
    }
    read.document.fitTables();
    state.CurrentDocument = read.document;
    state.SavedDocument = state.CurrentDocument;
    state.DocumentUntitled = false;
    state.DocumentOpened = true;
    return true;
}

// Runs the transfer of kind to its end; true when it completed. Ctrl+C or
// SIGTERM is the progress window's Cancel: the transfer stops before its
// next value or channel, never in the middle of one.
bool transfer(CliSession& session, AppState& state, int kind) {
    DataTransfer task(state, session.link, session.prompts, kind);
    TaskRunner runner(session.link, task);
    const ProgressLine progress(runner);
    state.TransferKind = kind;
    runToEndStoppable(runner, [&task] { task.cancel(); });
    if (task.outcome() == DataTransfer::Outcome::Cancelled)
        complain(QStringLiteral("transfer cancelled; what was transferred stays"));
    return task.outcome() == DataTransfer::Outcome::Completed;
}

bool parse(const QStringList& args, int& kind) {
    if (args.size() != 2)
        return false;
    kind = uploadKind(args[0]);
    return kind >= 0;
}

} // namespace

int runUpload(CliSession& session, const QStringList& args, QTextStream&) {
    int kind = 0;
    if (!parse(args, kind))
        return CliCommand::kBadArguments;
    const QString& file = args[1];
    AppState state;
    state.InitDefaultDocument();
    if (QFileInfo::exists(file) && !openDocument(state, file))
        return ExitFileError;
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);
    if (!transfer(session, state, kind))
        return session.finish(ExitLinkFailed);
    SetupDocument document = state.CurrentDocument;
    document.Version = state.ProgramVersion;
    const SetupFileResult written = writeSetupFile(file, document);
    if (!written.ok()) {
        reportFileError(file, written.errorText);
        return session.finish(ExitFileError);
    }
    return session.finish(ExitOk);
}

int runDownload(CliSession& session, const QStringList& args, QTextStream&) {
    int kind = 0;
    if (!parse(args, kind))
        return CliCommand::kBadArguments;
    AppState state;
    state.InitDefaultDocument();
    if (!openDocument(state, args[1]))
        return ExitFileError;
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);
    if (!transfer(session, state, kind + kDownload))
        return session.finish(ExitLinkFailed);
    // A value the link refused for its location was not written (its entry
    // alert is on standard error); the transfer went on with the others.
    return session.finish(session.prompts.entryAlertShown() ? ExitUsage : ExitOk);
}
