#include "portmap.h"

#include "appfolder.h"
#include "networkendpoint.h"

#include <QFile>
#include <QRegularExpression>

namespace {
constexpr int kFirstPort = 1;
constexpr int kLastPort = 99;
} // namespace

QString PortMap::pathIn(const AppFolder& folder) {
    return folder.userPath(QStringLiteral("\\Support\\PortMap.cfg"));
}

PortMap::ReadResult PortMap::read(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {PortMap(), QStringLiteral("%1: %2").arg(path, file.errorString())};
    return parse(file.readAll(), path);
}

PortMap::ReadResult PortMap::parse(const QByteArray& text, const QString& fileName) {
    static const QRegularExpression mapping(QStringLiteral("^(\\d+)\\s*=\\s*(\\S+)$"));
    ReadResult result;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const auto refuse = [&](const QString& why) {
            return ReadResult{PortMap(),
                              QStringLiteral("%1, line %2: %3").arg(fileName).arg(i + 1).arg(why)};
        };
        const QString line = QString::fromUtf8(lines[i]).section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QRegularExpressionMatch match = mapping.match(line);
        if (!match.hasMatch())
            return refuse(QStringLiteral("not NUMBER = ENDPOINT"));
        const int number = match.captured(1).toInt();
        if (number < kFirstPort || number > kLastPort)
            return refuse(QStringLiteral("port number %1 is not between %2 and %3")
                              .arg(match.captured(1))
                              .arg(kFirstPort)
                              .arg(kLastPort));
        if (result.map.m_endpoints.contains(number))
            return refuse(QStringLiteral("port %1 is mapped twice").arg(number));
        QString error;
        if (!NetworkEndpoint::parse(match.captured(2), &error))
            return refuse(error);
        result.map.m_endpoints.insert(number, match.captured(2));
    }
    return result;
}
