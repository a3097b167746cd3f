#include "memorysetting.h"

#include "boardmemory.h"

#include <QRegularExpression>

namespace {
bool parseValue(const QString& text, qint64& value) {
    bool ok = false;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    return ok && value >= 0;
}
} // namespace

QString applyMemorySetting(BoardMemory& memory, const QString& setting) {
    static const QRegularExpression form(
        QStringLiteral("^([BWDF])(\\d{1,5})(?:\\.([0-7]))?=(\\w+)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(setting.trimmed());
    const QString wrong = QStringLiteral("not a memory setting: %1").arg(setting);
    if (!m.hasMatch())
        return wrong;
    const QChar kind = m.captured(1).at(0).toUpper();
    const int number = m.captured(2).toInt();
    const bool dotted = !m.captured(3).isEmpty();
    qint64 value = 0;
    if (!parseValue(m.captured(4), value) || (dotted && kind != QLatin1Char('B')))
        return wrong;

    const int width = kind == QLatin1Char('W') ? 2 : kind == QLatin1Char('D') ? 4 : 1;
    const int address = kind == QLatin1Char('F') ? 32 + number / 8 : number;
    if (address + width > BoardMemory::kSize)
        return QStringLiteral("%1 lies outside the board's memory").arg(setting);
    const bool bit = dotted || kind == QLatin1Char('F');
    const qint64 limit = bit ? 1 : width == 1 ? 255 : width == 2 ? 65535 : 655359999;
    if (value > limit)
        return QStringLiteral("%1: the value does not fit (0 to %2)").arg(setting).arg(limit);

    if (bit)
        memory.setBit(address, kind == QLatin1Char('F') ? number % 8 : m.captured(3).toInt(),
                      value != 0);
    else if (width == 1)
        memory.setByte(address, static_cast<std::uint8_t>(value));
    else if (width == 2)
        memory.setWord(address, static_cast<int>(value));
    else
        memory.setDoubleWord(address, value);
    return {};
}
