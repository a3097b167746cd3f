#include "cliprogramcommands.h"

#include "clisession.h"
#include "commandtable.h"
#include "downloadquestion.h"
#include "dumpprogram.h"
#include "exitstatus.h"
#include "programfileset.h"
#include "programident.h"
#include "progressline.h"
#include "stopsignals.h"
#include "taskrunner.h"
#include "uploadprogram.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Passes every box on and keeps the last one's text: why a file set was
// refused, for the verdict line of program check.
class RememberingPrompts : public Prompts {
public:
    explicit RememberingPrompts(Prompts& inner) : m_inner(inner) {}

    QString lastMessage() const { return m_last; }

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   DefaultButton defaultButton = DefaultButton::First) override {
        m_last = title + QStringLiteral(": ") + CliPrompts::oneLine(text);
        return m_inner.message(title, text, icon, buttons, defaultButton);
    }
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultAnswer) override {
        return m_inner.input(title, prompt, defaultAnswer);
    }
    std::optional<QString> openFile(const FileDialog& dialog) override {
        return m_inner.openFile(dialog);
    }
    std::optional<QString> saveFile(const FileDialog& dialog) override {
        return m_inner.saveFile(dialog);
    }
    std::optional<PrintDialog> printSetup(const PrintDialog& proposed) override {
        return m_inner.printSetup(proposed);
    }

private:
    Prompts& m_inner;
    QString m_last;
};

// The program file named on the command line must be there to be read;
// false with a one-line complaint otherwise.
bool programFileReadable(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        complain(path + QStringLiteral(": no such program file"));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        complain(path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    return true;
}

// A file of the set that is there but cannot be opened: the command ends
// with ExitFileError rather than as a refusal of the set.
bool unreadable(const QString& path) {
    QFile file(path);
    return file.exists() && !file.open(QIODevice::ReadOnly);
}

bool anyUnreadable(const ProgramFileSet& files) {
    return unreadable(files.ProgramPath) || unreadable(files.RevisionPath) ||
           (boardClassOf(files.BoardCode) == BoardClass::Configured &&
            unreadable(files.ConfigPath)) ||
           unreadable(files.ImagePath);
}

QString boardCodeText(const ProgramFileSet& files) {
    if (files.BoardCode == 0)
        return QStringLiteral("none");
    return QString(QChar(static_cast<char16_t>(files.BoardCode))) + QStringLiteral(" (") +
           files.BoardName + QLatin1Char(')');
}

// What a download would do with the image: its records, or why the image
// is refused before anything reaches the board.
struct ImageVerdict {
    QString line;   // the "image: " line
    QString reason; // empty when the image is sound
};

ImageVerdict judgeImage(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {QStringLiteral("missing"), path + QStringLiteral(" does not exist")};
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable"), path + QStringLiteral(": ") + file.errorString()};
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return {QStringLiteral("empty"), path + QStringLiteral(" is empty")};
    const ImageCheck check = checkImage(bytes);
    if (!check.ok()) {
        const QString why = check.fault();
        return {why, QStringLiteral("image ") + why};
    }
    int dataBytes = 0;
    for (const ImageRecord& record : check.records)
        dataBytes += static_cast<int>(record.data.size());
    const qsizetype records = check.records.size();
    return {QStringLiteral("%1 %2, %3 data bytes")
                .arg(records)
                .arg(records == 1 ? QStringLiteral("record") : QStringLiteral("records"))
                .arg(dataBytes),
            QString()};
}

int checkSet(CliSession& session, const QString& path, QTextStream& out) {
    if (!programFileReadable(path))
        return ExitFileError;
    RememberingPrompts prompts(session.prompts);
    ProgramFileSet files(prompts);
    files.DownloadFile(path);
    const BoardClass boardClass = boardClassOf(files.BoardCode);
    const bool downloadable =
        boardClass == BoardClass::Plain || boardClass == BoardClass::Configured;
    out << "program file: " << files.ProgramPath << Qt::endl;
    out << "board code: " << boardCodeText(files) << Qt::endl;
    QString reason = prompts.lastMessage();
    if (downloadable) {
        out << "ident: " << shownIdent(files.IdentOnDisk) << Qt::endl;
        out << "revision: " << files.RevisionOnDisk << Qt::endl;
        out << "checksum: " << files.ChecksumOnDisk << Qt::endl;
        if (boardClass == BoardClass::Configured && files.valid())
            out << "configuration: B8190 " << boardValue8190(files.config.code8190) << ", B8189 "
                << files.config.value8189 << ", B8188 " << boardValue8188(files.config.code8188)
                << Qt::endl;
        const ImageVerdict image = judgeImage(files.ImagePath);
        out << "image: " << image.line << Qt::endl;
        if (files.valid())
            reason = image.reason;
    } else if (files.BoardCode == 0 && reason.isEmpty()) {
        reason = QStringLiteral("the program file names no board type");
    }
    const bool valid = files.valid() && reason.isEmpty();
    out << "valid: " << (valid ? QStringLiteral("yes") : QStringLiteral("no: ") + reason)
        << Qt::endl;
    if (valid)
        return ExitOk;
    return anyUnreadable(files) ? ExitFileError : ExitUsage;
}

// Runs a long command on the link to its end, its progress on standard
// error when that is a terminal; with cancel, Ctrl+C or SIGTERM asks for it.
void runTask(CliSession& session, StepTask& task, const std::function<void()>& cancel = {}) {
    TaskRunner runner(session.link, task);
    new ProgressLine(runner);
    if (cancel)
        runToEndStoppable(runner, cancel);
    else
        runner.runToEnd();
}

int download(CliSession& session, const QString& path, bool yes, QTextStream& out) {
    if (!programFileReadable(path))
        return ExitFileError;
    RSComm& link = session.link;
    link.DownloadFile(path);
    if (!link.ValidProgram())
        return anyUnreadable(link.programFiles()) ? ExitFileError : ExitUsage;
    // The download itself refuses such an image before the board is put
    // into program mode; here it is refused before the port is opened, with
    // the line that is wrong.
    const ImageVerdict image = judgeImage(link.programFiles().ImagePath);
    if (!image.reason.isEmpty()) {
        complain(image.reason);
        return anyUnreadable(link.programFiles()) ? ExitFileError : ExitUsage;
    }
    session.prompts.confirmQuestions(yes);
    const QString fileName = QFileInfo(path).fileName();
    if (session.prompts.message(downloadQuestionTitle(), downloadQuestionText(fileName),
                                Prompts::Icon::Question,
                                Prompts::Buttons::YesNo) != Prompts::Answer::Yes)
        return ExitUsage;
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);
    DumpProgram task(link);
    runTask(session, task);
    if (task.succeeded()) {
        out << "records sent: " << task.recordsSent() << Qt::endl;
        return session.finish(ExitOk);
    }
    if (task.boardTouched() || link.CommError)
        return session.finish(ExitLinkFailed);
    return session.finish(anyUnreadable(link.programFiles()) ? ExitFileError : ExitUsage);
}

int upload(CliSession& session, const QString& path, QTextStream& out) {
    if (!programFileReadable(path))
        return ExitFileError;
    RSComm& link = session.link;
    link.UploadFile(path);
    const ProgramFileSet& files = link.programFiles();
    if (files.BoardCode == 0) {
        complain(path + QStringLiteral(": the program file names no board type"));
        return ExitUsage;
    }
    if (UploadProgram::refuse(files, session.prompts))
        return ExitUsage;
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);
    link.setInUploadMode(true);
    UploadProgram task(link);
    runTask(session, task, [&task] { task.cancel(); });
    if (task.cancelled() && !task.succeeded()) {
        complain(QStringLiteral("program upload cancelled; no file written. ") +
                 task.progressNote());
        return session.finish(ExitLinkFailed);
    }
    if (task.succeeded()) {
        out << "image: " << files.ImagePath << Qt::endl;
        if (carriesConfiguration(files.BoardCode))
            out << "configuration: " << files.ConfigPath << Qt::endl;
        out << "revision: " << files.RevisionPath << Qt::endl;
        return session.finish(ExitOk);
    }
    return session.finish(task.writeError().isEmpty() ? ExitLinkFailed : ExitFileError);
}

} // namespace

int runProgram(CliSession& session, const QStringList& args, QTextStream& out) {
    const QString verb = args.value(0);
    if (verb == QLatin1String("check") && args.size() == 2)
        return checkSet(session, args[1], out);
    if (verb == QLatin1String("upload") && args.size() == 2)
        return upload(session, args[1], out);
    if (verb == QLatin1String("download")) {
        QStringList rest = args.mid(1);
        const bool yes = rest.removeAll(QStringLiteral("--yes")) > 0;
        if (rest.size() == 1 && !rest[0].startsWith(QLatin1String("--")))
            return download(session, rest[0], yes, out);
    }
    return CliCommand::kBadArguments;
}
