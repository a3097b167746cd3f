#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// "watch ADDR... [--interval MS] [--count N]": checks every address, goes
// online and reads them all once per pass, a pass starting every MS
// milliseconds (default 1000; at once when the last one overran), printing
// one line per pass: the local time to the millisecond, then each value (the
// text RSRead returns), separated by spaces. Ends after N passes (default:
// never), at a link failure (ExitLinkFailed) or at Ctrl+C or SIGTERM, which
// end the pass in hand and take the link down like the end of any command.
int runWatch(CliSession& session, const QStringList& args, QTextStream& out);
