#include "filesetpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kDefaultBoardTypeCode = 'D';

// The first field of a text line as the development tool writes it: up to
// the first comma, surrounding blanks removed, then enclosing quotes removed.
QByteArray firstField(const QByteArray& line) {
    const qsizetype comma = line.indexOf(',');
    QByteArray field = (comma < 0 ? line : line.left(comma)).trimmed();
    if (field.startsWith('"')) {
        field.remove(0, 1);
        const qsizetype closing = field.indexOf('"');
        if (closing >= 0)
            field.truncate(closing);
    }
    return field;
}

} // namespace

QString ChangeExtension(const QString& path, const QString& extension) {
    const QFileInfo info(path);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.') +
           extension;
}

QString companionPath(const QString& path, const QString& extension) {
    const QString spelled = ChangeExtension(path, extension);
    const QFileInfo wanted(spelled);
    // Of several spellings (a case-sensitive disk may hold both), the one
    // whose extension is written in the case of the given path's own.
    const QString ownSuffix = QFileInfo(path).suffix();
    const bool upper = !ownSuffix.isEmpty() && ownSuffix == ownSuffix.toUpper();
    QString found;
    const QStringList entries =
        wanted.dir().entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(wanted.fileName(), Qt::CaseInsensitive) != 0)
            continue;
        const QString suffix = QFileInfo(entry).suffix();
        if (found.isEmpty() || suffix == (upper ? suffix.toUpper() : suffix.toLower()))
            found = entry;
    }
    return found.isEmpty() ? spelled : wanted.dir().absoluteFilePath(found);
}

int ReadBoardTypeCode(const QString& programFilePath) {
    QFile file(companionPath(programFilePath, QStringLiteral("wdx")));
    if (!file.open(QIODevice::ReadOnly))
        return kDefaultBoardTypeCode;
    // One line is all that is needed; the rest belongs to the development tool.
    QByteArray line = file.readLine(4096);
    file.close();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    const QByteArray field = firstField(line);
    if (field.isEmpty())
        return kDefaultBoardTypeCode;
    return static_cast<unsigned char>(field.at(0));
}
