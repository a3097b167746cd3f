#include "alarmlogfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace {

constexpr AlarmEvent::Kind kKinds[] = {AlarmEvent::Kind::Raised, AlarmEvent::Kind::Cleared,
                                       AlarmEvent::Kind::LinkLost, AlarmEvent::Kind::LinkRestored};

void readInto(const QString& path, QVector<AlarmEvent>& events) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    // The text after the last line end is a line cut short by a crash.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (const auto event = AlarmLogFile::parse(lines.at(i)))
            events.append(*event);
    }
}

} // namespace

AlarmLogFile::AlarmLogFile(const QString& path, qint64 rotateBytes)
    : m_path(path), m_rotateBytes(rotateBytes) {}

QString AlarmLogFile::olderPath() const {
    const QFileInfo info(m_path);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".1.") + info.suffix());
}

QByteArray AlarmLogFile::line(const AlarmEvent& event) {
    return (event.at.toString(Qt::ISODateWithMs) + QLatin1Char(',') + alarmEventWord(event.kind) +
            QLatin1Char(',') + event.alarm)
        .toUtf8();
}

std::optional<AlarmEvent> AlarmLogFile::parse(const QByteArray& line) {
    const QList<QByteArray> fields = line.trimmed().split(',');
    if (fields.size() != 3)
        return std::nullopt;
    const QDateTime at = QDateTime::fromString(QString::fromUtf8(fields[0]), Qt::ISODateWithMs);
    if (!at.isValid())
        return std::nullopt;
    const QString word = QString::fromUtf8(fields[1]);
    for (AlarmEvent::Kind kind : kKinds) {
        if (alarmEventWord(kind) != word)
            continue;
        const QString alarm = QString::fromUtf8(fields[2]);
        const bool named = kind == AlarmEvent::Kind::Raised || kind == AlarmEvent::Kind::Cleared;
        if (named == alarm.isEmpty())
            return std::nullopt;
        return AlarmEvent{at, kind, alarm};
    }
    return std::nullopt;
}

bool AlarmLogFile::append(const AlarmEvent& event) {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (QFileInfo(m_path).size() >= m_rotateBytes) {
        QFile::remove(olderPath());
        if (!QFile::rename(m_path, olderPath()))
            return false;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return false;
    QByteArray bytes;
    if (file.size() == 0) {
        bytes = kHeader;
    } else {
        // A line torn by a crash gets its end, so it stays the only one lost.
        char last = 0;
        if (file.seek(file.size() - 1) && file.getChar(&last) && last != '\n')
            bytes = "\n";
    }
    bytes += line(event) + '\n';
    return file.write(bytes) == bytes.size() && file.flush();
}

QVector<AlarmEvent> AlarmLogFile::read() const {
    QVector<AlarmEvent> events;
    readInto(olderPath(), events);
    readInto(m_path, events);
    return events;
}

bool AlarmLogFile::clear() {
    QFile::remove(olderPath());
    return !QFile::exists(m_path) || QFile::remove(m_path);
}

QString defaultAlarmLogPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("alarm-history.csv"));
}
