#include "targetboardcommand.h"

#include "commandcontext.h"

void TargetBoardCommand::Show() {
    commandNotAvailable(m_context.prompts);
}
