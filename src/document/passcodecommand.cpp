#include "passcodecommand.h"

#include "prompts.h"
#include "rscomm.h"

namespace {
const QString kPasscodeAddress = QStringLiteral("W1070");
}

void runSetupPasscode(RSComm& link, Prompts& prompts) {
    QString current;
    if (!link.CommError)
        current = link.RSRead(kPasscodeAddress);

    const std::optional<QString> answer =
        prompts.input(QStringLiteral("Keypad Set-up Passcode"),
                      QStringLiteral("Please Enter New Passcode (0-65535)"), current);
    if (answer && !answer->isEmpty() && !link.CommError)
        link.RSWrite(kPasscodeAddress, *answer);
}
