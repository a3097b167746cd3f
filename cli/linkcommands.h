#pragma once

#include <QStringList>

class CliPrompts;
class QTextStream;
class RSComm;
class SerialPort;

// vralctl's exit statuses.
// 1 is a file that could not be read or written (doc commands).
enum ExitStatus { ExitOk = 0, ExitFileError = 1, ExitUsage = 2, ExitLinkFailed = 3 };

// "read ADDR...": goes online, prints one line per address (exactly the
// text RSRead returns), takes the link down.
int runRead(RSComm& link, SerialPort& port, const QStringList& addresses, QTextStream& out);

// "write ADDR VALUE": goes online, RSWrite, takes the link down. An entry
// alert (the link refused the value) gives ExitUsage; nothing was written.
int runWrite(RSComm& link, SerialPort& port, CliPrompts& prompts, const QString& address,
             const QString& value);
