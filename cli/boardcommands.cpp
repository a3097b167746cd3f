#include "boardcommands.h"

#include "boardmaintenance.h"
#include "clisession.h"
#include "codefile.h"
#include "commandtable.h"
#include "exitstatus.h"

#include <QTextStream>

namespace {

// The ident block in the board: eight character codes, checksum, revision.
constexpr int kIdentBlock = 61424;

QString commErrorText(CliSession& session, int code) {
    const CodeLookup lookup =
        lookupCodeFile(session.link.supportPath(QStringLiteral("\\Support\\CommErrCodes.txt")),
                       code, CodeMatch::Last, session.prompts, QStringLiteral("vralctl board"));
    return lookup.text;
}

int readByte(CliSession& session, int address) {
    return session.link.RSRead(QStringLiteral("B%1").arg(address)).toInt();
}

int showBoard(CliSession& session, QTextStream& out) {
    RSComm& link = session.link;
    const int fault = link.FaultCode();
    if (link.CommError)
        return session.finish(ExitLinkFailed);
    const int lastFault = readByte(session, 8177);
    const int commError = readByte(session, 8179);
    const int lastCommError = readByte(session, 8178);
    const int firmware = link.FirmwareRev();
    QString ident;
    for (int k = 0; k < 8 && !link.CommError; ++k) {
        const int code = readByte(session, kIdentBlock + k);
        if (code != 0)
            ident.append(QChar(static_cast<char16_t>(code)));
    }
    const int checksum = readByte(session, kIdentBlock + 8);
    const int revision = readByte(session, kIdentBlock + 9);
    if (link.CommError)
        return session.finish(ExitLinkFailed);
    out << "fault: " << link.FaultDescription(fault) << Qt::endl;
    out << "last fault: " << link.FaultDescription(lastFault) << Qt::endl;
    out << "comm error: " << codeKey(commError) << "H " << commErrorText(session, commError)
        << Qt::endl;
    out << "last comm error: " << codeKey(lastCommError) << "H "
        << commErrorText(session, lastCommError) << Qt::endl;
    out << "firmware revision: " << firmware << Qt::endl;
    out << "program ident: " << ident << Qt::endl;
    out << "program revision: " << revision << Qt::endl;
    out << "program checksum: " << checksum << Qt::endl;
    return session.finish(ExitOk);
}

// Without --yes the question is shown and answered No, as every question is.
bool confirmed(CliSession& session, bool yes, const QString& title, const QString& text) {
    if (yes)
        return true;
    return session.prompts.message(title, text, Prompts::Icon::Critical,
                                   Prompts::Buttons::YesNoCancel) == Prompts::Answer::Yes;
}

} // namespace

int runBoard(CliSession& session, const QStringList& args, QTextStream& out) {
    if (args.isEmpty()) {
        if (!session.goOnline())
            return session.finish(ExitLinkFailed);
        return showBoard(session, out);
    }
    const bool yes = args.size() == 2 && args[1] == QLatin1String("--yes");
    if (args.size() > 2 || (args.size() == 2 && !yes))
        return CliCommand::kBadArguments;
    if (args[0] == QLatin1String("reset-faults")) {
        if (!confirmed(session, yes, kResetFaultsTitle, kResetFaultsText))
            return ExitUsage;
        if (!session.goOnline())
            return session.finish(ExitLinkFailed);
        return session.finish(resetBoardFaults(session.link) ? ExitOk : ExitLinkFailed);
    }
    if (args[0] == QLatin1String("set-clock")) {
        if (!confirmed(session, yes, QStringLiteral("Set Target Board Clock"),
                       QStringLiteral("The board's clock and date will be set to this "
                                      "computer's.\r\n\r\nDo you wish to continue?")))
            return ExitUsage;
        if (!session.goOnline())
            return session.finish(ExitLinkFailed);
        const bool ok =
            setBoardTime(session.link, session.clock) && setBoardDate(session.link, session.clock);
        return session.finish(ok ? ExitOk : ExitLinkFailed);
    }
    return CliCommand::kBadArguments;
}
