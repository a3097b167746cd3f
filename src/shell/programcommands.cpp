#include "programcommands.h"

#include "commandcontext.h"

void ProgramCommands::DownloadProgram() {
    commandNotAvailable(m_context.prompts);
}
