#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// "read ADDR...": checks every address, goes online, prints one line per
// address (exactly the text RSRead returns), takes the link down. A text
// that names no board location is refused before anything is sent.
int runRead(CliSession& session, const QStringList& args, QTextStream& out);

// "write ADDR VALUE": checks the address, goes online, RSWrite, takes the
// link down. An entry alert (the link refused the value) gives ExitUsage;
// nothing was written.
int runWrite(CliSession& session, const QStringList& args, QTextStream& out);

// True when every text names a location on the board; otherwise a one-line
// message names the first that does not.
bool checkAddresses(const QStringList& addresses);
