#include "textnumber.h"

#include <cmath>
#include <limits>

double leadingNumber(const QString& text) {
    int pos = 0;
    while (pos < text.size() && text.at(pos).isSpace())
        ++pos;
    const int start = pos;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
        ++pos;
    bool anyDigit = false;
    while (pos < text.size() && text.at(pos) >= QLatin1Char('0') &&
           text.at(pos) <= QLatin1Char('9')) {
        ++pos;
        anyDigit = true;
    }
    if (pos < text.size() && text.at(pos) == QLatin1Char('.')) {
        ++pos;
        while (pos < text.size() && text.at(pos) >= QLatin1Char('0') &&
               text.at(pos) <= QLatin1Char('9')) {
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

qint64 leadingInteger(const QString& text) {
    const double rounded = std::nearbyint(leadingNumber(text)); // default mode: half to even
    constexpr double kLimit = 9.2e18;
    if (rounded >= kLimit)
        return std::numeric_limits<qint64>::max();
    if (rounded <= -kLimit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(rounded);
}
