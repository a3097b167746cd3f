#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// "diff A.sdt B.sdt" and "diff A.sdt --board": what differs between two
// set-up files, or between a set-up file and the board. One line per
// differing item, SECTION<TAB>ITEM<TAB>LEFT<TAB>RIGHT, in the report's order
// and with its labels (no leading or trailing blanks), values in plain
// decimal; LEFT is A, RIGHT is B or the board. "--all" prints every item,
// "--shift" takes the shift counters in (left out otherwise: the board
// counts them on while the machine runs).
//
// The board is read into a scratch document by the "&All" upload's own
// exchanges, its progress on standard error when that is a terminal;
// nothing is written to the board or to A. Ctrl+C or SIGTERM cancels the
// read before its next value or channel.
//
// Exit status as diff(1): 0 no difference, 1 differences, 2 a usage error
// or a file that cannot be read, 3 the link failed or the read was
// cancelled (its box on standard error, nothing on standard output).
int runDiff(CliSession& session, const QStringList& args, QTextStream& out);
