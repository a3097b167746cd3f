#include "commandcontext.h"

#include "prompts.h"

void commandNotAvailable(Prompts& prompts) {
    prompts.message(QStringLiteral("VRAL"),
                    QStringLiteral("This command is not available in this build yet."),
                    Prompts::Icon::Information, Prompts::Buttons::Ok);
}
