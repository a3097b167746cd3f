#include "appfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString absolute(const QString& folder) {
    return QDir::cleanPath(QDir(folder).absolutePath());
}

} // namespace

AppFolder::AppFolder(const QString& root) : AppFolder(root, root) {}

AppFolder::AppFolder(const QString& dataRoot, const QString& userRoot)
    : m_dataRoot(absolute(dataRoot)), m_userRoot(absolute(userRoot)) {}

AppFolder AppFolder::locate(const QString& homeOption, const QString& programFolder) {
    const QString home = homeOption.isEmpty() ? qEnvironmentVariable("VRAL_HOME") : homeOption;
    if (!home.isEmpty())
        return AppFolder(home);
    const QString shipped = QDir(programFolder).filePath(QStringLiteral("../share/vral"));
    if (!QFileInfo(shipped).isDir())
        return AppFolder(programFolder);
    // One folder for all three programs, whatever each calls itself.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return AppFolder(shipped, config + QStringLiteral("/vral"));
}

QString AppFolder::dataPath(const QString& relative) const {
    return resolve(m_dataRoot, relative);
}

QString AppFolder::userPath(const QString& relative) const {
    const QString path = resolve(m_userRoot, relative);
    if (m_userRoot == m_dataRoot || QFileInfo::exists(path))
        return path;
    const QString shipped = dataPath(relative);
    // A failed copy leaves no file, which the caller meets as a missing one.
    if (QFileInfo(shipped).isFile() && QDir().mkpath(QFileInfo(path).path()) &&
        QFile::copy(shipped, path)) {
        QFile copy(path);
        copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner);
    }
    return path;
}

QString AppFolder::resolve(const QString& root, const QString& relative) {
    QString normalised = relative;
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = normalised.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QString current = root;
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
