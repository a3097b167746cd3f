#pragma once

#include <QString>

// The DF1 bridge's status bytes as the operator reads them. Each function
// turns one raw value into the text the bridge page shows; values the bridge
// does not define get a text that still shows the raw value.

// R8830 configuration status (B4023).
QString configurationStatusText(int value);
// Transmit data status, current and previous (B4021, B4022).
QString transmitStatusText(int value);
// The command the bridge is working on (B4014).
QString activeCommandText(int value);
// Whether the last message received was a command or a reply (B4302.6).
QString receivedBitText(int value);
// The DF1 link layer status: sts is the status byte (B4018), used only when
// the link layer reports an error (B4303 not 0); extSts the extended status
// (B4019), used only when sts is F0 hexadecimal.
QString linkLayerStatusText(int sts, int extSts);
// True when the link layer status needs the extended status byte as well.
bool needsExtendedStatus(int sts);

// Link layer success (B4303 = 0).
QString linkLayerSuccessText();
