#include "datatransfercommands.h"

#include "commandcontext.h"

void DataTransferCommands::Upload(int /*kind*/) {
    commandNotAvailable(m_context.prompts);
}

void DataTransferCommands::Download(int /*kind*/) {
    commandNotAvailable(m_context.prompts);
}
