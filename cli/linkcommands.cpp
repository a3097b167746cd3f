#include "linkcommands.h"

#include "cliprompts.h"
#include "rscomm.h"

#include <QTextStream>

namespace {

bool goOnline(RSComm& link, SerialPort& port) {
    link.OpenRSComm(port);
    return link.OnlineMode && !link.CommError;
}

int finish(RSComm& link, int status) {
    link.CloseRSComm();
    return status;
}

} // namespace

int runRead(RSComm& link, SerialPort& port, const QStringList& addresses, QTextStream& out) {
    if (!goOnline(link, port))
        return finish(link, ExitLinkFailed);
    for (const QString& address : addresses) {
        const QString value = link.RSRead(address);
        if (link.CommError)
            return finish(link, ExitLinkFailed);
        out << value << Qt::endl;
    }
    return finish(link, ExitOk);
}

int runWrite(RSComm& link, SerialPort& port, CliPrompts& prompts, const QString& address,
             const QString& value) {
    if (!goOnline(link, port))
        return finish(link, ExitLinkFailed);
    link.RSWrite(address, value);
    if (link.CommError)
        return finish(link, ExitLinkFailed);
    if (prompts.entryAlertShown())
        return finish(link, ExitUsage);
    return finish(link, ExitOk);
}
