#include "commandcontext.h"

#include "onlinesession.h"
#include "prompts.h"
#include "rscomm.h"

bool offerToGoOnline(CommandContext& context) {
    RSComm& link = context.link;
    if (link.OnlineMode)
        return true;
    const Prompts::Answer answer = context.prompts.message(
        QStringLiteral("Program Offline"),
        QStringLiteral("Program is Currently OFFLINE\r\n\r\nDo You Wish to Switch to ONLINE "
                       "MODE to Continue?"),
        Prompts::Icon::Question, Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes)
        return false;
    context.online.goOnline();
    return true;
}
