#include "generaldate.h"

#include <QRegularExpression>

QString generalDateFormat(const QLocale& locale) {
    QString date = locale.dateFormat(QLocale::ShortFormat);
    if (!date.contains(QLatin1String("yyyy")))
        date.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    QString time = locale.timeFormat(QLocale::LongFormat);
    // The long time names the zone ("t"); the general date does not.
    time.remove(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?")));
    return date + QLatin1Char(' ') + time.trimmed();
}

QString generalDateText(const QDateTime& dateTime, const QLocale& locale) {
    return locale.toString(dateTime, generalDateFormat(locale));
}
