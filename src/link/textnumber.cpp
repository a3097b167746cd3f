#include "textnumber.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

// nearbyint rounds in the default to-nearest mode, which sends halves to even.
double roundHalfEven(double value) {
    return std::nearbyint(value);
}

template <typename Int> Int saturated(double rounded) {
    if (std::isnan(rounded))
        return 0;
    // The limits as doubles: max() itself is not exact for 64 bits, so test >=.
    if (rounded >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    return static_cast<Int>(rounded);
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double leadingNumber(const QString& text) {
    int pos = 0;
    while (pos < text.size() && text.at(pos).isSpace())
        ++pos;
    const int start = pos;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
        ++pos;
    bool anyDigit = false;
    while (pos < text.size() && isDigit(text.at(pos))) {
        ++pos;
        anyDigit = true;
    }
    if (pos < text.size() && text.at(pos) == QLatin1Char('.')) {
        ++pos;
        while (pos < text.size() && isDigit(text.at(pos))) {
            ++pos;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    QString number = text.mid(start, pos - start);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (ok)
        return value;
    // The text has the shape of a number, so only its size can have failed.
    const double huge = std::numeric_limits<double>::infinity();
    return number.startsWith(QLatin1Char('-')) ? -huge : huge;
}

std::optional<double> wholeNumber(const QString& text) {
    // Exactly the shape leadingNumber() reads, with nothing after it.
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    if (!whole.match(text).hasMatch())
        return std::nullopt;
    const double value = leadingNumber(text);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

qint32 nearestInt(double value) {
    return saturated<qint32>(roundHalfEven(value));
}

qint32 numericValue(const QString& text) {
    return nearestInt(leadingNumber(text));
}

qint64 leadingInteger(const QString& text) {
    return saturated<qint64>(roundHalfEven(leadingNumber(text)));
}
