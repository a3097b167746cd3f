#include "targetboardcommand.h"

#include "appstate.h"
#include "commandcontext.h"
#include "prompts.h"

void TargetBoardCommand::Show() {
    if (!m_open) {
        commandNotAvailable(m_context.prompts);
        return;
    }
    Prompts::FileDialog dialog;
    dialog.filter = QStringLiteral("Wendax Files(*.wdx)|*.wdx|");
    dialog.fileName = m_context.state.gProgramFilePath;
    dialog.mustExist = true;
    // A cancelled dialog opens the page with the program chosen before.
    if (const std::optional<QString> chosen = m_context.prompts.openFile(dialog))
        m_context.state.gProgramFilePath = *chosen;
    m_open(m_context.state.gProgramFilePath);
}
