#include "plscommands.h"

#include "clisession.h"
#include "commandtable.h"
#include "exitstatus.h"

#include <QTextStream>

#include <vector>

namespace {

constexpr int kHighestChannel = 15;
constexpr int kHighestWord = 65535;

struct Verb {
    const char* name;
    int argumentCount;
    // The first argument is a channel when true; the others are 16-bit words.
    bool channelFirst;
    int (*run)(CliSession& session, const std::vector<int>& numbers, QTextStream& out);
};

// ExitOk, or why an operation returned false: its own refusal box (nothing
// was sent) or a transaction that failed.
int statusOf(CliSession& session, bool ok, int exclamationsBefore) {
    if (ok)
        return ExitOk;
    if (!session.link.CommError && session.prompts.exclamationsShown() > exclamationsBefore)
        return ExitUsage;
    return ExitLinkFailed;
}

int runShow(CliSession& session, const std::vector<int>&, QTextStream& out) {
    RSComm& link = session.link;
    const QString scale = link.PLSScaleFactor();
    const QString offset = link.PLSOffset();
    const QString position = link.PLSPos();
    const QString rpm = link.PLSRpm();
    if (link.CommError)
        return ExitLinkFailed;
    out << "scale " << scale << Qt::endl;
    out << "offset " << offset << Qt::endl;
    out << "position " << position << Qt::endl;
    out << "rpm " << rpm << Qt::endl;
    return ExitOk;
}

int runSet(CliSession& session, const std::vector<int>& n, QTextStream&) {
    const int before = session.prompts.exclamationsShown();
    return statusOf(session, session.link.SingleSetpoint(n[0], n[1], n[2], true), before);
}

int runPulse(CliSession& session, const std::vector<int>& n, QTextStream&) {
    const int before = session.prompts.exclamationsShown();
    return statusOf(session, session.link.PulseTrain(n[0], n[1], n[2], n[3]), before);
}

int runClear(CliSession& session, const std::vector<int>& n, QTextStream&) {
    return session.link.ClearPLSChan(n[0]) && !session.link.CommError ? ExitOk : ExitLinkFailed;
}

int runRecall(CliSession& session, const std::vector<int>& n, QTextStream& out) {
    RSComm& link = session.link;
    const bool ok = link.RecallChannel(n[0]);
    if (link.CommError)
        return ExitLinkFailed;
    // An answer out of range is shown as the link keeps it (state 2,
    // position 0), and the command fails.
    out << "state " << link.ChannelRecallState() << " position " << link.ChannelRecallPos()
        << Qt::endl;
    return ok ? ExitOk : ExitLinkFailed;
}

int runOffset(CliSession& session, const std::vector<int>& n, QTextStream&) {
    const int before = session.prompts.exclamationsShown();
    return statusOf(session, session.link.SetPLSOffset(n[0]), before);
}

int runConfig(CliSession& session, const std::vector<int>&, QTextStream& out) {
    const int before = session.prompts.messagesShown();
    const std::array<int, 19> config = session.link.PLSConfigUpload();
    // A failed read is told by its box: the values would be stale.
    if (session.link.CommError || session.prompts.messagesShown() > before)
        return ExitLinkFailed;
    QStringList values;
    for (const int value : config)
        values << QString::number(value);
    out << values.join(QLatin1Char(' ')) << Qt::endl;
    return ExitOk;
}

const Verb kVerbs[] = {
    {"show", 0, false, runShow},     {"set", 3, true, runSet},
    {"pulse", 4, true, runPulse},    {"clear", 1, true, runClear},
    {"recall", 1, true, runRecall},  {"offset", 1, false, runOffset},
    {"config", 0, false, runConfig},
};

bool parseNumber(const QString& text, int highest, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0 && value <= highest;
}

} // namespace

int runPls(CliSession& session, const QStringList& args, QTextStream& out) {
    const Verb* verb = nullptr;
    for (const Verb& candidate : kVerbs)
        if (args.value(0) == QLatin1String(candidate.name))
            verb = &candidate;
    if (!verb || args.size() != verb->argumentCount + 1)
        return CliCommand::kBadArguments;

    std::vector<int> numbers;
    for (int k = 1; k < args.size(); ++k) {
        const bool channel = verb->channelFirst && k == 1;
        int value = 0;
        if (!parseNumber(args[k], channel ? kHighestChannel : kHighestWord, value)) {
            complain(channel
                         ? QStringLiteral("\"%1\" is not a PLS channel (0 to 15)").arg(args[k])
                         : QStringLiteral("\"%1\" is not a number from 0 to 65535").arg(args[k]));
            return ExitUsage;
        }
        numbers.push_back(value);
    }
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);
    return session.finish(verb->run(session, numbers, out));
}
