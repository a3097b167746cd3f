#pragma once

#include "alarmhistory.h"

#include <QString>
#include <QVector>

#include <optional>

// The alarm record on disk, so the history outlives the program: a CSV file
// of events ("time,event,alarm"), one line appended per event. Each line is
// written and the file closed at once, so a crash or a power cut loses at
// most the line being written; a torn last line is skipped when the record
// is read back, and the next line starts on a line of its own.
//
// At kRotateBytes the file is moved aside to NAME.1.csv (replacing the one
// before) and a new one started, so the record stays bounded; reading back
// takes the older file first.
class AlarmLogFile {
public:
    static constexpr qint64 kRotateBytes = 1024 * 1024;
    static inline const QByteArray kHeader = "time,event,alarm\n";

    explicit AlarmLogFile(const QString& path, qint64 rotateBytes = kRotateBytes);

    // Appends one event; false when the file cannot be written (the history
    // in memory goes on regardless).
    bool append(const AlarmEvent& event);
    // Every event of the record, oldest first.
    QVector<AlarmEvent> read() const;
    // Forgets the record (both files).
    bool clear();

    QString path() const { return m_path; }
    QString olderPath() const;

    // One record line, without its line end, and back; nullopt for a line
    // that is not one (the header, a torn line).
    static QByteArray line(const AlarmEvent& event);
    static std::optional<AlarmEvent> parse(const QByteArray& line);

private:
    QString m_path;
    qint64 m_rotateBytes;
};

// Where the application keeps its alarm record: alarm-history.csv in the
// user's data folder for this program.
QString defaultAlarmLogPath();
