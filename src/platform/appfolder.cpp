#include "appfolder.h"

#include <QDir>
#include <QFileInfo>

AppFolder::AppFolder(const QString& root) : m_root(QDir::cleanPath(QDir(root).absolutePath())) {}

QString AppFolder::path(const QString& relative) const {
    QString normalised = relative;
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = normalised.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QString current = m_root;
    bool stillExists = true;
    for (const QString& part : parts) {
        QString chosen = part;
        if (stillExists) {
            const QDir dir(current);
            if (!QFileInfo::exists(dir.filePath(part))) {
                const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot);
                stillExists = false;
                for (const QString& entry : entries) {
                    if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                        chosen = entry;
                        stillExists = true;
                        break;
                    }
                }
            }
        }
        current = current + QLatin1Char('/') + chosen;
    }
    return current;
}
