#include "reportcommands.h"

#include "commandcontext.h"

void ReportCommands::PrintReport() {
    commandNotAvailable(m_context.prompts);
}
