#include "watchcommands.h"

#include "clisession.h"
#include "commandtable.h"
#include "exitstatus.h"
#include "linkcommands.h"

#include <QDateTime>
#include <QTextStream>

#include <algorithm>
#include <csignal>
#include <signal.h>

namespace {
constexpr int kDefaultIntervalMs = 1000;
constexpr int kSleepSliceMs = 20; // how soon a stop request is seen between passes

volatile std::sig_atomic_t g_stopRequested = 0;

void requestStop(int) {
    g_stopRequested = 1;
}

// Catches Ctrl+C and SIGTERM while a watch runs, and gives the old handling
// back afterwards.
class StopSignals {
public:
    StopSignals() {
        g_stopRequested = 0;
        struct sigaction action {};
        action.sa_handler = requestStop;
        ::sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGINT, &action, &m_oldInt);
        ::sigaction(SIGTERM, &action, &m_oldTerm);
    }
    ~StopSignals() {
        ::sigaction(SIGINT, &m_oldInt, nullptr);
        ::sigaction(SIGTERM, &m_oldTerm, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool stopRequested() const { return g_stopRequested != 0; }

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

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
