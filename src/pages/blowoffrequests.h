#pragma once

class RSComm;

// Test requests that make the machine blow off a can. Each location gets "1"
// (or the selection value) once; resetting them is the board's business.
// Every write is skipped while a link failure is latched; no message.

// Q.C. blow-off: "B2088" selects what it acts on (spindle 1..24, 25 blanket,
// 26 mandrel), then "F825" and "F102" trigger it, in this order.
void SendBlowoffRequest(RSComm& link, int selection);

// Bad-can test trip and blow-off: "F830".
void SendBadCanTest(RSComm& link);
