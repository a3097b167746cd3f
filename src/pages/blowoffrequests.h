#pragma once

#include "boardmaintenance.h"

struct PageServices;

// The blow-off test requests as the page buttons send them: the board
// maintenance writes, then, when every write got through, a brief word in
// the main window's status bar, for the machine gives no sign of its own
// until the can comes off. Nothing is said after a link failure.
void SendBlowoffRequest(PageServices& services, int selection);
void sendBadCanTest(PageServices& services);
