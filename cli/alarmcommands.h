#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// "alarms [--count N]": goes online and polls the alarm word as the main
// window does (every 500 ms, the same latching), printing one line per
// change: the local time in ISO form, "raised" or "cleared", the alarm's
// name. An alarm already on at the start prints its "raised" line; a calm
// board prints nothing. Ends after N lines (default: never), at a link
// failure (ExitLinkFailed) or at Ctrl+C or SIGTERM, like watch.
int runAlarms(CliSession& session, const QStringList& args, QTextStream& out);
