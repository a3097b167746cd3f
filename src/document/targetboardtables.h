#pragma once

#include <QString>

#include <optional>

// What the target board page reads off the board's fault and status bytes,
// and what it tells the user to do about them.

// The code shown for a fault or comm-error byte: two upper-case hex digits,
// or "42" when the read failed (the board's own code for a broken cable).
QString targetFaultCodeText(int value, bool readFailed);

// The caption of fault display entry 0..5 for the code read ("0A", or the
// CO-CPU slot's number): "Last Fault: Code = 0AH", "CO-CPU Slot: 3". With
// nothing read (offline) the code shows as "-": "Last Fault: Code = -".
QString targetCodeCaption(int entry, const std::optional<QString>& code);

// The corrective action for the last-fault code.
QString correctiveAction(int lastFaultCode);

// Which controls a board type code brings to life.
struct TargetBoardFeatures {
    bool secondNetworkAddress = false; // "Current Network Address 2:"
    bool realTimeClock = false;        // clock fields and the two set buttons
    bool coCpuSlot = false;            // "CO-CPU Slot:" caption on the fault tab
};
TargetBoardFeatures targetBoardFeaturesOf(int boardCode);
