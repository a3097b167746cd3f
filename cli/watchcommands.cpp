#include "watchcommands.h"

#include "clisession.h"
#include "commandtable.h"
#include "exitstatus.h"
#include "linkcommands.h"
#include "stopsignals.h"

#include <QDateTime>
#include <QTextStream>

#include <algorithm>

namespace {
constexpr int kDefaultIntervalMs = 1000;
constexpr int kSleepSliceMs = 20; // how soon a stop request is seen between passes

struct WatchArguments {
    QStringList addresses;
    int intervalMs = kDefaultIntervalMs;
    int count = 0; // 0: until stopped
};

bool parseNumber(const QString& text, int minimum, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= minimum;
}

bool parseWatchArguments(const QStringList& args, WatchArguments& parsed) {
    for (int k = 0; k < args.size(); ++k) {
        const QString& arg = args[k];
        if (arg == QLatin1String("--interval")) {
            if (++k == args.size() || !parseNumber(args[k], 0, parsed.intervalMs))
                return false;
        } else if (arg == QLatin1String("--count")) {
            if (++k == args.size() || !parseNumber(args[k], 1, parsed.count))
                return false;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            parsed.addresses << arg;
        }
    }
    return !parsed.addresses.isEmpty();
}
} // namespace

int runWatch(CliSession& session, const QStringList& args, QTextStream& out) {
    WatchArguments watch;
    if (!parseWatchArguments(args, watch))
        return CliCommand::kBadArguments;
    if (!checkAddresses(watch.addresses))
        return ExitUsage;
    const StopSignals stop;
    if (!session.goOnline())
        return session.finish(ExitLinkFailed);

    qint64 nextPassMs = session.clock.monotonicMs();
    for (int pass = 0; watch.count == 0 || pass < watch.count; ++pass) {
        while (!stop.stopRequested()) {
            const qint64 waitMs = nextPassMs - session.clock.monotonicMs();
            if (waitMs <= 0)
                break;
            session.clock.sleepMs(int(std::min<qint64>(waitMs, kSleepSliceMs)));
        }
        if (stop.stopRequested())
            break;
        // An overrun pass is not made up for: the next one starts at once.
        nextPassMs = std::max(nextPassMs + watch.intervalMs, session.clock.monotonicMs());
        QString line = session.clock.now().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
        for (const QString& address : watch.addresses) {
            const QString value = session.link.RSRead(address);
            if (session.link.CommError)
                return session.finish(ExitLinkFailed);
            line += QLatin1Char(' ') + value;
        }
        out << line << Qt::endl;
    }
    return session.finish(ExitOk);
}
