#pragma once

#include "appstate.h"
#include "frmmdimain.h"
#include "qtprompts.h"
#include "rscomm.h"

class AppFolder;
class ByteTrace;
class Clock;
class SerialPort;

// The program's parts wired together as vral runs them: the link on the
// given port, the shared state, real dialogs, and the main window with the
// page table and the target board page behind View > "&Target Board
// Interface"; large blocks kept out of the heap, as a program open for a
// shift needs. vral, vral-screenshots and vral-bench-soak build it the same
// way.
class VralApplication {
public:
    VralApplication(Clock& clock, SerialPort& port, const AppFolder& folder, ByteTrace* trace);
    VralApplication(const VralApplication&) = delete;
    VralApplication& operator=(const VralApplication&) = delete;

    frmMDIMain& window() { return m_window; }
    RSComm& link() { return m_link; }

private:
    QtPrompts m_prompts;
    AppState m_state;
    RSComm m_link;
    frmMDIMain m_window;
};
