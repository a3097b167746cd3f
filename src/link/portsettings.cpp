#include "portsettings.h"

#include "appfolder.h"
#include "textnumber.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 99;
constexpr int kFileAccessError = 75;

SettingsFileError fileError(const QString& path, const QString& why) {
    return {kFileAccessError, QStringLiteral("Path/File access error (%1: %2)").arg(path, why)};
}

std::optional<SettingsFileError> writeLine(const QString& path, const QByteArray& line) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return fileError(folder, QStringLiteral("cannot create the folder"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(line) != line.size() || !file.commit())
        return fileError(path, file.errorString());
    return std::nullopt;
}

} // namespace

PortSettings PortSettings::clamped(qint64 port, qint64 speed) {
    PortSettings settings;
    settings.port = static_cast<int>(qBound(qint64(kFirstPort), port, qint64(kLastPort)));
    settings.speed = speed == 19200 ? 19200 : 9600;
    return settings;
}

QString PortSettings::settingsText() const {
    return QStringLiteral("%1,n,8,1").arg(speed);
}

PortSettingsFile::Contents PortSettingsFile::read() const {
    Contents contents;
    QFile file(m_path);
    if (!file.exists())
        return contents;
    if (!file.open(QIODevice::ReadOnly)) {
        contents.error = fileError(m_path, file.errorString());
        return contents;
    }
    if (file.size() == 0) {
        contents.state = State::Empty;
        return contents;
    }
    contents.state = State::Present;
    contents.settings = parse(file.readLine());
    return contents;
}

PortSettings PortSettingsFile::parse(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\n');
    const QString line = QString::fromLatin1(end < 0 ? bytes : bytes.left(end)).trimmed();
    const QString portField = line.section(QLatin1Char(','), 0, 0);
    const QString speedField = line.section(QLatin1Char(','), 1, 1);
    return PortSettings::clamped(leadingInteger(portField), leadingInteger(speedField));
}

QByteArray PortSettingsFile::bytesFor(const PortSettings& settings) {
    return QStringLiteral("%1,%2\r\n").arg(settings.port).arg(settings.speed).toLatin1();
}

std::optional<SettingsFileError> PortSettingsFile::write(const PortSettings& settings) const {
    return writeLine(m_path, bytesFor(settings));
}

std::optional<SettingsFileError> writeWendaxPortFiles(const AppFolder& folder, int port) {
    const QByteArray line = QByteArray::number(port - 1) + "\r\n";
    for (const char* tool : {"\\WDX51", "\\WDX96", "\\PLS51"}) {
        const QString toolFolder = folder.userPath(QLatin1String(tool));
        if (!QFileInfo(toolFolder).isDir())
            continue;
        if (auto error = writeLine(
                folder.userPath(QLatin1String(tool) + QStringLiteral("\\WENDAX.SFG")), line))
            return error;
    }
    return std::nullopt;
}
