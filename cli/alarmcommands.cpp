#include "alarmcommands.h"

#include "alarmhistory.h"
#include "clisession.h"
#include "commandtable.h"
#include "exitstatus.h"
#include "statuspoll.h"
#include "stopsignals.h"

#include <QDateTime>
#include <QTextStream>

#include <algorithm>

namespace {
constexpr int kPollMs = 500;      // the main window's status poll
constexpr int kSleepSliceMs = 20; // how soon a stop request is seen between polls

bool parseAlarmArguments(const QStringList& args, int& count) {
    count = 0;
    if (args.isEmpty())
        return true;
    bool ok = false;
    if (args.size() == 2 && args[0] == QLatin1String("--count"))
        count = args[1].toInt(&ok);
    return ok && count >= 1;
}
} // namespace

int runAlarms(CliSession& session, const QStringList& args, QTextStream& out) {
    int count = 0;
    if (!parseAlarmArguments(args, count))
        return CliCommand::kBadArguments;
    const StopSignals stop;
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);

    StatusPoll poll;
    AlarmHistory history;
    int printed = 0;
    qint64 nextPollMs = session.clock.monotonicMs();
    while (count == 0 || printed < count) {
        while (!stop.stopRequested()) {
            const qint64 waitMs = nextPollMs - session.clock.monotonicMs();
            if (waitMs <= 0)
                break;
            session.clock.sleepMs(int(std::min<qint64>(waitMs, kSleepSliceMs)));
        }
        if (stop.stopRequested())
            break;
        nextPollMs = std::max(nextPollMs + kPollMs, session.clock.monotonicMs());
        const QString reply = session.link.RSRead(StatusPoll::kAlarmWordAddress);
        if (session.link.CommError)
            return session.finish(ExitLinkFailed);
        poll.updateOnline(false, reply);
        const QDateTime now = session.clock.now();
        for (const AlarmEvent& event : history.observe(now, true, false, poll.latches())) {
            if (count != 0 && printed == count)
                break;
            out << now.toString(Qt::ISODate) << ' ' << alarmEventWord(event.kind) << ' '
                << event.alarm << Qt::endl;
            ++printed;
        }
    }
    return session.finish(ExitOk);
}
