#include "linkcommands.h"

#include "address.h"
#include "clisession.h"
#include "commandtable.h"
#include "exitstatus.h"

#include <QTextStream>

bool checkAddresses(const QStringList& addresses) {
    for (const QString& address : addresses) {
        if (!isBoardLocation(address)) {
            complain(QStringLiteral("\"%1\" is not a board address").arg(address));
            return false;
        }
    }
    return true;
}

int runRead(CliSession& session, const QStringList& args, QTextStream& out) {
    if (args.isEmpty())
        return CliCommand::kBadArguments;
    if (!checkAddresses(args))
        return ExitUsage;
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);
    for (const QString& address : args) {
        const QString value = session.link.RSRead(address);
        if (session.link.CommError)
            return session.finish(ExitLinkFailed);
        out << value << Qt::endl;
    }
    return session.finish(ExitOk);
}

int runWrite(CliSession& session, const QStringList& args, QTextStream&) {
    if (args.size() != 2)
        return CliCommand::kBadArguments;
    if (!checkAddresses({args[0]}))
        return ExitUsage;
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);
    session.link.RSWrite(args[0], args[1]);
    if (session.link.CommError)
        return session.finish(ExitLinkFailed);
    if (session.prompts.entryAlertShown())
        return session.finish(ExitUsage);
    return session.finish(ExitOk);
}
