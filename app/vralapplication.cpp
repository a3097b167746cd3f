#include "vralapplication.h"

#include "appfolder.h"
#include "bytetrace.h"
#include "heaptuning.h"
#include "pagetable.h"
#include "targetboarddialog.h"

VralApplication::VralApplication(Clock& clock, SerialPort& port, const AppFolder& folder,
                                 ByteTrace* trace)
    : m_link(clock, m_prompts, folder),
      m_window(m_state, m_link, port, m_prompts, clock, folder, pageTable()) {
    // Before the first window is drawn: its picture is such a block.
    keepLargeBlocksOutOfTheHeap();
    m_link.setTrace(trace);
    m_prompts.setParent(&m_window);
    m_window.targetBoardCommand().setPageOpener([this, &folder](const QString& programPath) {
        showTargetBoardDialog(m_window.pageServices(), folder, programPath, &m_window);
    });
    m_window.fitToScreen(frmMDIMain::kOpeningSize);
}
