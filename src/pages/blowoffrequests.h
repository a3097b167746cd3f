#pragma once

struct PageServices;

// Q.C. selections beyond the 24 spindles.
constexpr int kBlanketSelection = 25;
constexpr int kMandrelSelection = 26;

// Test requests that make the machine blow off a can. Each location gets "1"
// (or the selection value) once; resetting them is the board's business.
// Every write is skipped while a link failure is latched, with no message;
// when every write got through, the main window's status bar says so briefly,
// for the machine gives no sign of its own until the can comes off.

// Q.C. blow-off: "B2088" selects what it acts on (spindle 1..24, 25 blanket,
// 26 mandrel), then "F825" and "F102" trigger it, in this order.
void SendBlowoffRequest(PageServices& services, int selection);

// Bad-can test trip and blow-off: "F830".
void SendBadCanTest(PageServices& services);
