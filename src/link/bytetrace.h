#pragma once

#include <QString>

#include <memory>

class Clock;
class QFile;
class QIODevice;

// A trace of every byte on the link, for diagnosing a line in the field.
// One line per byte:
//   2026-12-07T08:00:01.250 > FF mode 0
// local time with milliseconds, the direction (">" program to board, "<"
// board to program), the byte in hexadecimal and the link mode the link was
// in when the byte went out or came in.
class ByteTrace {
public:
    enum class Direction { Out, In };

    // Writes to an open device that the caller keeps alive.
    ByteTrace(QIODevice& device, const Clock& clock);
    ~ByteTrace();
    ByteTrace(const ByteTrace&) = delete;
    ByteTrace& operator=(const ByteTrace&) = delete;

    // A trace into a new file (replacing an old one); nullptr with the reason
    // in *error when the file cannot be created.
    static std::unique_ptr<ByteTrace> toFile(const QString& path, const Clock& clock,
                                             QString* error = nullptr);

    void record(Direction direction, quint8 byte, int linkMode);

private:
    ByteTrace(std::unique_ptr<QFile> file, const Clock& clock);

    std::unique_ptr<QFile> m_ownedFile;
    QIODevice& m_device;
    const Clock& m_clock;
};
