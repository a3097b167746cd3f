#include "clireportcommands.h"

#include "commandtable.h"
#include "exitstatus.h"
#include "reportrenderer.h"
#include "setupfile.h"

#include <QFileInfo>
#include <QPageSize>
#include <QTextStream>

int runReport(CliSession&, const QStringList& args, QTextStream&) {
    QPageSize pageSize = defaultReportPageSize();
    QStringList paths;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--page-size")) {
            const QString size = args.value(++i);
            if (size.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0)
                pageSize = QPageSize(QPageSize::A4);
            else if (size.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0)
                pageSize = QPageSize(QPageSize::Letter);
            else
                return CliCommand::kBadArguments;
        } else {
            paths << args[i];
        }
    }
    if (paths.size() != 2)
        return CliCommand::kBadArguments;
    const SetupFileReadResult file = readSetupFile(paths[0]);
    QTextStream err(stderr);
    if (!file.ok()) {
        err << paths[0] << ": " << file.errorText << Qt::endl;
        return ExitFileError;
    }
    // The name the main window shows for an opened file.
    const QString name = QLatin1Char('[') + QFileInfo(paths[0]).fileName() + QLatin1Char(']');
    const QString failure = writeReportPdf(paths[1], file.document, name, pageSize);
    if (!failure.isEmpty()) {
        err << failure << Qt::endl;
        return ExitFileError;
    }
    return ExitOk;
}
