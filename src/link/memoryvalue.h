#pragma once

#include "address.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// Value texts and the bytes they occupy in board memory.
namespace MemoryValue {

// A value text reduced to its digits: spaces, "%", ",", "." and the degree
// sign are dropped (so "45 %" is 45 and "12.5" is 125), no digits is 0.
// nullopt when the text holds any other character ("-5", "1e3").
// Values too large for any location saturate far above every range.
std::optional<qint64> reduceText(const QString& text);

// The bytes of a value for a location, low byte first; a D value is two
// words, the second counting ten-thousands. On a range error, the entry
// alert sentence instead (for example "Entry out of Range (0-255).").
struct Encoded {
    QByteArray bytes;
    QString error;
};
Encoded encode(QChar access, qint64 value);

// The value of bytes read from a location (d0 first), the inverse of encode.
qint64 decode(QChar access, const std::array<quint8, 4>& bytes);

} // namespace MemoryValue
