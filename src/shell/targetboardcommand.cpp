#include "targetboardcommand.h"

#include "commandcontext.h"
#include "selectprogramfile.h"

void TargetBoardCommand::Show() {
    if (!m_open) {
        commandNotAvailable(m_context.prompts);
        return;
    }
    if (const std::optional<QString> path =
            SelectProgramFile(m_context, ProgramFilePurpose::TargetBoard))
        m_open(*path);
}
