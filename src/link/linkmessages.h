#pragma once

#include <QString>

// The texts of the link's own message boxes. CR alone breaks the lines of
// the time-out box, as the board tools have always shown it.
namespace LinkMessages {
inline const QString kCommErrorTitle = QStringLiteral("WARNING - Communication Error!");
inline const QString kNoAnswer = QStringLiteral("Cannot Communicate with Target Board.\r"
                                                "Verify RS-232 Cable is Connected Between\r"
                                                "COMM Port and PROG Port.");
inline const QString kModeFailed = QStringLiteral("Cannot Set PLC Mode Within Target Board.");
inline const QString kPlsNotReady =
    QStringLiteral("Cannot Determine PLS READY Mode Within Target Board.");
inline const QString kEntryAlertTitle = QStringLiteral("ENTRY ALERT");
} // namespace LinkMessages
