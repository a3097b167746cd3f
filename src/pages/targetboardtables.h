#pragma once

#include <QString>
#include <QVector>

// What the target board page reads off the board's fault and status bytes,
// and what it tells the user to do about them.

// The code shown for a fault or comm-error byte: two upper-case hex digits,
// or "42" when the read failed (the board's own code for a broken cable).
QString TargetFaultCodeText(int value, bool readFailed);

// The corrective action for the last-fault code.
QString CorrectiveAction(int lastFaultCode);

// Which controls a board type code brings to life.
struct TargetBoardFeatures {
    bool secondNetworkAddress = false; // "Current Network Address 2:"
    bool realTimeClock = false;        // clock fields and the two set buttons
    bool coCpuSlot = false;            // "CO-CPU Slot:" caption on the fault tab
};
TargetBoardFeatures TargetBoardFeaturesOf(int boardCode);

// One record of a code file: a code and its description.
struct CodeRecord {
    QString code;
    QString text;
};
// The description the page shows for code: the text of the last record
// whose code matches, ignoring case; not found when none does.
struct CodeLookup {
    bool found = false;
    QString text;
};
CodeLookup LastMatchingDescription(const QVector<CodeRecord>& records, const QString& code);
