#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// A date and time in the "general date" form the program's users know: the
// locale's short date with a four-digit year, then the time with seconds
// (no time zone), e.g. "12/7/2026 9:00:05 AM" or "07.12.2026 09:00:05".
// Used for gUploadNOW, file dates on the target board page and the report.
QString generalDateText(const QDateTime& dateTime, const QLocale& locale = QLocale::system());
// The format behind it, for a locale.
QString generalDateFormat(const QLocale& locale);
