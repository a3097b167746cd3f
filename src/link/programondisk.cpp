#include "programondisk.h"

#include "filesetpaths.h"
#include "generaldate.h"
#include "programfileformats.h"
#include "programident.h"
#include "prompts.h"
#include "rscomm.h"

#include <QFile>
#include <QFileInfo>

ProgramOnDisk readProgramOnDisk(const QString& programPath, Prompts& prompts) {
    ProgramOnDisk program;
    program.revDate = QStringLiteral("-");
    if (programPath.isEmpty() || !QFileInfo::exists(programPath))
        return program;
    program.boardCode = ReadBoardTypeCode(programPath);
    program.boardName = RSComm::TargetboardName(program.boardCode);
    program.ident = QStringLiteral("-");

    QFile revision(companionPath(programPath, QStringLiteral("rev")));
    if (!revision.open(QIODevice::ReadOnly))
        return program;
    const RevisionRead read = parseRevisionFile(revision.readAll());
    if (read.error) {
        prompts.message(QStringLiteral("InitializeForm"),
                        QStringLiteral("Error Number = %1\r\n\r\n%2")
                            .arg(read.error->number)
                            .arg(read.error->description),
                        Prompts::Icon::Information, Prompts::Buttons::Ok);
        return program;
    }
    if (!read.ident)
        return program; // an empty revision file
    program.ident = shownIdent(read.ident->ident);
    program.revision = read.ident->revision;
    program.checksum = read.ident->checksum;
    const QFileInfo image(companionPath(programPath, QStringLiteral("hex")));
    if (image.exists())
        program.revDate = generalDateText(image.lastModified());
    return program;
}
