#include "bytetrace.h"

#include "clock.h"

#include <QFile>

ByteTrace::ByteTrace(QIODevice& device, const Clock& clock) : m_device(device), m_clock(clock) {}

ByteTrace::ByteTrace(std::unique_ptr<QFile> file, const Clock& clock)
    : m_ownedFile(std::move(file)), m_device(*m_ownedFile), m_clock(clock) {}

ByteTrace::~ByteTrace() = default;

std::unique_ptr<ByteTrace> ByteTrace::toFile(const QString& path, const Clock& clock,
                                             QString* error) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error)
            *error = file->errorString();
        return nullptr;
    }
    return std::unique_ptr<ByteTrace>(new ByteTrace(std::move(file), clock));
}

void ByteTrace::record(Direction direction, quint8 byte, int linkMode) {
    const QString line =
        QStringLiteral("%1 %2 %3 mode %4\n")
            .arg(m_clock.now().toString(Qt::ISODateWithMs),
                 direction == Direction::Out ? QStringLiteral(">") : QStringLiteral("<"),
                 QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper())
            .arg(linkMode);
    m_device.write(line.toLatin1());
    // Flushed per line: the trace is read after a link (or the program) failed.
    if (m_ownedFile)
        m_ownedFile->flush();
}
