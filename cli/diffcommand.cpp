#include "diffcommand.h"

#include "boardreadback.h"
#include "clisession.h"
#include "commandtable.h"
#include "progressline.h"
#include "setupcomparison.h"
#include "setupfile.h"
#include "stopsignals.h"
#include "taskrunner.h"

#include <QTextStream>

#include <optional>

namespace {

enum DiffStatus { kSame = 0, kDiffers = 1, kTrouble = 2, kLinkFailed = 3 };

struct DiffOptions {
    QStringList files;
    bool board = false;
    bool all = false;
    bool shift = false;
};

std::optional<DiffOptions> parse(const QStringList& args) {
    DiffOptions options;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--board"))
            options.board = true;
        else if (arg == QLatin1String("--all"))
            options.all = true;
        else if (arg == QLatin1String("--shift"))
            options.shift = true;
        else if (arg.startsWith(QLatin1String("--")))
            return std::nullopt;
        else
            options.files << arg;
    }
    if (options.files.size() != (options.board ? 1 : 2))
        return std::nullopt;
    return options;
}

std::optional<SetupDocument> readDocument(const QString& file) {
    SetupFileReadResult read = readSetupFile(file);
    if (!read.ok()) {
        QTextStream(stderr) << file << ": " << read.errorText << Qt::endl;
        return std::nullopt;
    }
    read.document.fitTables();
    return read.document;
}

// The board as the "&All" upload reads it; nothing when the read did not
// complete (its box is on standard error).
std::optional<SetupDocument> readBoard(CliSession& session, const SetupDocument& base) {
    if (!session.goOnline())
        return std::nullopt;
    BoardReadback readback(base, session.link, session.prompts);
    TaskRunner runner(session.link, readback);
    const ProgressLine progress(runner);
    runToEndStoppable(runner, [&readback] { readback.cancel(); });
    if (!readback.completed())
        return std::nullopt;
    return readback.document();
}

int printDifferences(const SetupDocument& left, const SetupDocument& right,
                     const DiffOptions& options, QTextStream& out) {
    bool differs = false;
    for (const ComparisonItem& item : compareDocuments(left, right)) {
        if (item.counter && !options.shift)
            continue;
        differs = differs || item.differs();
        if (item.differs() || options.all)
            out << item.section << '\t' << item.label << '\t' << item.left << '\t' << item.right
                << '\n';
    }
    out.flush();
    return differs ? kDiffers : kSame;
}

} // namespace

int runDiff(CliSession& session, const QStringList& args, QTextStream& out) {
    const std::optional<DiffOptions> options = parse(args);
    if (!options)
        return CliCommand::kBadArguments;
    const std::optional<SetupDocument> left = readDocument(options->files[0]);
    if (!left)
        return kTrouble;
    if (!options->board) {
        const std::optional<SetupDocument> right = readDocument(options->files[1]);
        return right ? printDifferences(*left, *right, *options, out) : kTrouble;
    }
    const std::optional<SetupDocument> board = readBoard(session, *left);
    if (!board)
        return session.finish(kLinkFailed);
    return session.finish(printDifferences(*left, *board, *options, out));
}
