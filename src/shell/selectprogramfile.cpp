#include "selectprogramfile.h"

#include "appstate.h"
#include "commandcontext.h"
#include "prompts.h"
#include "rscomm.h"

std::optional<QString> askForProgramFile(CommandContext& context, const QString& title) {
    Prompts::FileDialog dialog;
    dialog.title = title;
    dialog.filter = QStringLiteral("Wendax Files(*.wdx)|*.wdx|");
    dialog.fileName = context.state.gProgramFilePath;
    dialog.mustExist = true;
    std::optional<QString> chosen = context.prompts.openFile(dialog);
    if (chosen)
        context.state.gProgramFilePath = *chosen;
    return chosen;
}

std::optional<QString> SelectProgramFile(CommandContext& context, ProgramFilePurpose purpose) {
    if (purpose == ProgramFilePurpose::Download && !offerToGoOnline(context))
        return std::nullopt;
    const std::optional<QString> chosen =
        askForProgramFile(context, QStringLiteral("Select Program File"));
    if (!chosen) {
        if (purpose == ProgramFilePurpose::TargetBoard)
            return context.state.gProgramFilePath;
        return std::nullopt;
    }
    context.link.DownloadFile(*chosen);
    if (!context.link.ValidProgram())
        return std::nullopt;
    return chosen;
}
