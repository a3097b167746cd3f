#pragma once

#include <QString>

class Clock;
class RSComm;

// Board-side sequences of the target board's maintenance commands, shared by
// the target board page and vralctl. Each writes only while the link is
// online and stops at the first link failure; true when no link failure.

// The question asked before the faults are reset (Yes/No/Cancel, critical).
inline const QString kResetFaultsTitle = QStringLiteral("WARNING - Fault Code Reset!");
inline const QString kResetFaultsText =
    QStringLiteral("Target Board will be reinitialized.\r\n\r\nDo you wish to continue?");

// Clears the last comm error, current comm error, last fault and current
// fault, in that order (B8178, B8179, B8177, B8176).
bool resetBoardFaults(RSComm& link);
// Writes the computer's hour, minute and second to the board's clock
// (B43012, B43010, B43008), reading the computer's clock anew for each.
bool setBoardTime(RSComm& link, const Clock& clock);
// Writes the month, day and two-digit year (B43016, B43015, B43017).
bool setBoardDate(RSComm& link, const Clock& clock);

// Test requests that make the machine blow off a can. Each location gets "1"
// (or the selection value) once; resetting them is the board's business.
// Every write is skipped while a link failure is latched; true when every
// write got through.

// Q.C. selections beyond the 24 spindles.
constexpr int kBlanketSelection = 25;
constexpr int kMandrelSelection = 26;
// Q.C. blow-off: "B2088" selects what it acts on (spindle 1..24, 25 blanket,
// 26 mandrel), then "F825" and "F102" trigger it, in this order.
bool requestBlowoff(RSComm& link, int selection);
// Bad-can test trip and blow-off: "F830".
bool requestBadCanTest(RSComm& link);
