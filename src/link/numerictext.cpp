#include "numerictext.h"

#include "textnumber.h"

#include <QRegularExpression>
#include <QString>

#include <cmath>
#include <limits>

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
    if (std::isnan(value))
        return 0;
    // nearbyint rounds in the default to-nearest mode, which sends halves to even.
    const double rounded = std::nearbyint(value);
    if (rounded >= static_cast<double>(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(rounded);
}

qint32 numericValue(const QString& text) {
    return nearestInt(leadingNumber(text));
}
