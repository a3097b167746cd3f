#include "memoryvalue.h"

namespace MemoryValue {

namespace {
// Far above the largest location (655,359,999) and far below overflow.
constexpr qint64 kSaturated = 999'999'999'999LL;
constexpr char16_t kDegreeSign = 0x00B0;
} // namespace

std::optional<qint64> reduceText(const QString& text) {
    qint64 value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            value = qMin(kSaturated, value * 10 + (u - u'0'));
            continue;
        }
        if (u == u' ' || u == u'%' || u == u',' || u == u'.' || u == kDegreeSign)
            continue;
        return std::nullopt;
    }
    return value;
}

Encoded encode(QChar access, qint64 value) {
    Encoded encoded;
    const auto byte = [](qint64 v) { return static_cast<char>(v & 0xFF); };
    switch (access.unicode()) {
    case u'B':
        if (value > 255)
            encoded.error = QStringLiteral("Entry out of Range (0-255).");
        else
            encoded.bytes.append(byte(value));
        break;
    case u'W':
        if (value > 65535)
            encoded.error = QStringLiteral("Entry out of Range (0-65,535).");
        else
            encoded.bytes.append(byte(value)).append(byte(value >> 8));
        break;
    case u'D':
        if (value > 655359999) {
            encoded.error = QStringLiteral("Entry out of Range (0-655,359,999).");
        } else {
            const qint64 low = value % 10000;
            const qint64 high = value / 10000;
            encoded.bytes.append(byte(low)).append(byte(low >> 8));
            encoded.bytes.append(byte(high)).append(byte(high >> 8));
        }
        break;
    default:
        break;
    }
    return encoded;
}

qint64 decode(QChar access, const std::array<quint8, 4>& d) {
    const qint64 low = d[0] + 256 * d[1];
    if (access == QLatin1Char('W'))
        return low;
    if (access == QLatin1Char('D'))
        return low + 10000 * (d[2] + 256 * d[3]);
    return d[0];
}

} // namespace MemoryValue
