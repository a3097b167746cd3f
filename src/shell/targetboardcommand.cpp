#include "targetboardcommand.h"

#include "commandcontext.h"
#include "selectprogramfile.h"

void TargetBoardCommand::show() {
    Q_ASSERT(m_open); // handed in by the application before the menu is shown
    if (const std::optional<QString> path =
            SelectProgramFile(m_context, ProgramFilePurpose::TargetBoard))
        m_open(*path);
}
