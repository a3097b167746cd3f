#include "targetboardtables.h"

#include <array>

namespace {

const QChar kQuote = QLatin1Char('"');

QString quoted(const char* text) {
    return kQuote + QString::fromLatin1(text) + kQuote;
}

} // namespace

QString targetFaultCodeText(int value, bool readFailed) {
    if (readFailed)
        return QStringLiteral("42");
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

QString targetCodeCaption(int entry, const std::optional<QString>& code) {
    static const std::array<const char*, 6> openings = {
        "Current Fault: Code = ", "Last Fault: Code = ",         "CO-CPU Slot: ",
        "Corrective Action:",     "Current Comm Error: Code = ", "Last Comm Error: Code = "};
    const QString opening = QString::fromLatin1(openings.at(entry));
    if (entry == 3)
        return opening;
    if (!code)
        return opening + QLatin1Char('-');
    return opening + *code + (entry == 2 ? QString() : QStringLiteral("H"));
}

QString correctiveAction(int c) {
    if (c >= 0x01 && c <= 0x3F)
        return QStringLiteral("Replace CO-CPU board at ") + quoted("CO-CPU Slot") +
               QStringLiteral(" and try again.  ") +
               QStringLiteral("If fault persists, peplace R6112 processor board and try again.  ") +
               QStringLiteral("If fault persists, verify proper use of ") +
               quoted("sfunc05/06/12") + QStringLiteral(" in user program.");
    if (c == 0x42)
        return QStringLiteral("Verify connection of cable between computer ") + quoted("COM") +
               QStringLiteral(" port and target board ") + quoted("PROG PORT") +
               QStringLiteral(".  Verify ") +
               QStringLiteral("cable wiring and connectors.  If fault persists, replace target "
                              "board and/or ") +
               QStringLiteral("try a different computer.");
    if (c == 0x45)
        return QStringLiteral("User program executed an sfunc09() system fault function call.  "
                              "See User ") +
               QStringLiteral("program for details on source of fault and corrective action.");
    if (c == 0x5C || c == 0x5D)
        return QStringLiteral("Program is invalid.  Re-dump program to target board.  If fault "
                              "persists, ") +
               QStringLiteral("verify cable connections between computer and target board.  If "
                              "fault persists, ") +
               QStringLiteral("replace target board.");
    if (c >= 0x40 && c <= 0x7A)
        return QStringLiteral("Reset fault and try again.  If fault persists, replace target "
                              "board and try ") +
               QStringLiteral("again.  See Wendax Manual for more details.");
    return QStringLiteral("None");
}

TargetBoardFeatures targetBoardFeaturesOf(int boardCode) {
    TargetBoardFeatures features;
    features.secondNetworkAddress = boardCode == 'A';
    features.realTimeClock = boardCode == '6' || boardCode == 'A';
    features.coCpuSlot = boardCode == '2';
    return features;
}
